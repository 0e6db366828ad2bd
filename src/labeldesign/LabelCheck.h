#pragma once
// What makes a label one the scale can take, checked before a label is saved or sent. A label
// that fails still opens in the designer (where it can be read at all), so it can be corrected;
// only its download is refused, before the scale is called, so the scale never keeps a partial
// label.
//
// The rules:
// - a label file is a regular file whose name ends in ".bel" (any case);
// - the width is a whole number of millimetres from 20 to 60 (the widest stock the scale prints,
//   the 60 x 40 label), the height one from 20 to 99 (what the two-digit box holds; the canvas
//   has room for 125): digits only, no sign;
// - the label holds from 1 to 50 element rows (the scale numbers 50 elements, the canvas draws
//   50), each read whole from its file line (ten fields; the header line three);
// - every position (X.pos, Y.pos, Down.X, Down.Y) is a whole number of millimetres, a minus
//   sign allowed (a drag may take an element past the label's top or left edge).
#include <filesystem>
#include <string>
#include <string_view>

#include "Label.h"
#include "common/Language.h"

namespace korvan::LabelCheck {

inline constexpr int kMinWidthMm = 20;
inline constexpr int kMaxWidthMm = 60;
inline constexpr int kMinHeightMm = 20;
inline constexpr int kMaxHeightMm = 99;
inline constexpr std::size_t kMaxElements = 50;

// Whether the name is that of a label file: it ends in ".bel", ASCII case ignored.
bool isLabelFileName(const std::filesystem::path& file);
// Why `file` cannot be opened as a label ("" when it may): a name not ending in ".bel".
std::string fileProblem(const std::filesystem::path& file, Lang lang);
// Why the label's width or height cannot be saved or sent ("" when they can).
std::string sizeProblem(const Label& label, Lang lang);
// Why the label cannot be sent to the scale ("" when it can): its size, its element count, a
// line of its file that was cut short, or a position that is not a whole number. The first fault
// found, naming the row.
std::string downloadProblem(const Label& label, Lang lang);
// Digits, with a minus sign in front when `signAllowed`; not empty.
bool isWholeNumber(std::string_view text, bool signAllowed);

} // namespace korvan::LabelCheck
