#pragma once
// record/dqlabel.rec names the label file the designer opens: line 1 the default, line 2 the file
// for Chinese, line 3 the file for English. Each line is a path, a form feed, then anything.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/DataDir.h"
#include "common/Language.h"
#include "common/RecordFile.h"

namespace korvan {

class LabelFileChoice {
public:
    static constexpr const char* kFileName = "dqlabel.rec";
    static std::filesystem::path file(const DataDir& dir) { return dir.record(kFileName); }

    // The path text of the label file for the language flag ("chinese" or "english"; any other
    // flag takes line 1). A line's path is its text before the first form feed; a line without a
    // form feed gives an empty path. Empty when nothing names a file.
    static std::string pathText(const std::vector<std::string>& lines,
                                std::string_view languageFlag);

    // A path as the file writes it (".\label\2eng.bel") under the data directory; an empty text
    // stays empty rather than naming the directory itself.
    static std::filesystem::path resolve(const DataDir& dir, const std::string& pathText);

    // Reads record/dqlabel.rec of `dir` and gives the label file for the language, resolved. A
    // file that cannot be read is a failed result with an empty path.
    static Loaded<std::filesystem::path> choose(const DataDir& dir, std::string_view languageFlag);
    // What the operator is told when the file names no label file for the language.
    static std::string nothingNamed(Lang lang);

    // The label file to open: `named` when it is not empty (a path of the operator's), else the
    // file `dir`'s record/dqlabel.rec names for the language flag. `problem` says, in `lang`,
    // why there is none to open: dqlabel.rec could not be read, it names no file, or the name
    // is not a label file's (such a file is never opened, so never written over).
    struct Checked {
        std::filesystem::path file;
        std::string problem;
    };
    static Checked checked(const DataDir& dir, const std::filesystem::path& named,
                           std::string_view languageFlag, Lang lang);
};

} // namespace korvan
