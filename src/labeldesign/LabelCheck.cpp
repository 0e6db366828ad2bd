#include "LabelCheck.h"

#include "common/Text.h"
#include "common/TextCodec.h"

namespace korvan::LabelCheck {
namespace {

const Tr kNotLabelFile{"不是标签文件(标签文件名以 .bel 结尾): %1",
                       "Not a label file (a label file's name ends in .bel): %1"};
const Tr kBadWidth{"标签宽度应为%1到%2之间的整数毫米, 而不是 \"%3\"",
                   "The label width must be a whole number of mm from %1 to %2, not \"%3\""};
const Tr kBadHeight{"标签高度应为%1到%2之间的整数毫米, 而不是 \"%3\"",
                    "The label height must be a whole number of mm from %1 to %2, not \"%3\""};
const Tr kNoElements{"标签没有任何元素: 标签文件是空的或只有标题行",
                     "The label has no elements: its file is empty or holds only the header line"};
const Tr kTooManyElements{"标签有%1个元素, 秤最多接受%2个(设计器只显示前%3个)",
                          "The label has %1 elements; the scale takes at most %2 (the designer "
                          "shows the first %3)"};
const Tr kShortLine{"标签文件第%1行少于%2个字段: 文件不完整或不是标签文件",
                    "Line %1 of the label file has fewer than %2 fields: the file is cut short or "
                    "is not a label file"};
const Tr kBadPosition{"第%1行 \"%2\" 的 %3 应为整数毫米, 而不是 \"%4\"",
                      "Row %1 \"%2\": %3 must be a whole number of mm, not \"%4\""};

std::string shown(const std::string& gbk) {
    return TextCodec::toUtf8Lossy(gbk);
}

std::string sizeFault(const Tr& message, const std::string& text, int least, int most, Lang lang) {
    if (isWholeNumber(text, false) && text.size() <= 3) {
        const int mm = std::stoi(text);
        if (mm >= least && mm <= most)
            return {};
    }
    return Text::fillIn(message.get(lang),
                        {std::to_string(least), std::to_string(most), shown(text)});
}

} // namespace

bool isLabelFileName(const std::filesystem::path& file) {
    return Text::asciiLower(file.extension().string()) == ".bel";
}

std::string fileProblem(const std::filesystem::path& file, Lang lang) {
    return isLabelFileName(file) ? std::string()
                                 : Text::fillIn(kNotLabelFile.get(lang), {file.string()});
}

bool isWholeNumber(std::string_view text, bool signAllowed) {
    if (signAllowed && text.starts_with('-'))
        text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string sizeProblem(const Label& label, Lang lang) {
    std::string fault = sizeFault(kBadWidth, label.width, kMinWidthMm, kMaxWidthMm, lang);
    if (fault.empty())
        fault = sizeFault(kBadHeight, label.height, kMinHeightMm, kMaxHeightMm, lang);
    return fault;
}

std::string downloadProblem(const Label& label, Lang lang) {
    if (label.shortLine != 0)
        return Text::fillIn(
            kShortLine.get(lang),
            {std::to_string(label.shortLine),
             std::to_string(label.shortLine == 1 ? Label::kHeaderFields : LabelElement::kColumns)});
    if (std::string fault = sizeProblem(label, lang); !fault.empty())
        return fault;
    if (label.elements.empty())
        return kNoElements.get(lang);
    if (label.elements.size() > kMaxElements)
        return Text::fillIn(kTooManyElements.get(lang),
                            {std::to_string(label.elements.size()), std::to_string(kMaxElements),
                             std::to_string(kMaxElements)});
    static constexpr std::pair<LabelElement::Column, const char*> kPositions[] = {
        {LabelElement::XPos, "X.pos"},
        {LabelElement::YPos, "Y.pos"},
        {LabelElement::DownX, "Down.X"},
        {LabelElement::DownY, "Down.Y"},
    };
    for (std::size_t row = 0; row < label.elements.size(); ++row) {
        const LabelElement& element = label.elements[row];
        for (const auto& [column, caption] : kPositions) {
            if (!isWholeNumber(element.at(column), true))
                return Text::fillIn(kBadPosition.get(lang),
                                    {std::to_string(row + 1), shown(element.name()), caption,
                                     shown(element.at(column))});
        }
    }
    return {};
}

} // namespace korvan::LabelCheck
