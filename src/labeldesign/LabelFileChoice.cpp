#include "LabelFileChoice.h"

#include "LabelCheck.h"
#include "common/Language.h"

namespace korvan {

namespace {

std::string linePath(const std::string& line) {
    const auto separator = line.find(kFieldSeparator);
    return separator == std::string::npos ? std::string() : line.substr(0, separator);
}

} // namespace

std::string LabelFileChoice::pathText(const std::vector<std::string>& lines,
                                      std::string_view languageFlag) {
    std::string path;
    if (!lines.empty())
        path = linePath(lines[0]);
    if (lines.size() > 1 && languageFlag == kChinese)
        path = linePath(lines[1]);
    if (lines.size() > 2 && languageFlag == kEnglish)
        path = linePath(lines[2]);
    return path;
}

std::filesystem::path LabelFileChoice::resolve(const DataDir& dir, const std::string& pathText) {
    if (pathText.empty())
        return {};
    return dir.resolve(pathText);
}

Loaded<std::filesystem::path> LabelFileChoice::choose(const DataDir& dir,
                                                      std::string_view languageFlag) {
    auto lines = RecordFile::readLines(file(dir));
    if (!lines.ok())
        return {{}, lines.result};
    return {resolve(dir, pathText(lines.value, languageFlag)), lines.result};
}

std::string LabelFileChoice::nothingNamed(Lang lang) {
    static constexpr Tr kNothingNamed{"record/dqlabel.rec 没有指定当前语言的标签文件",
                                      "record/dqlabel.rec names no label file for this language"};
    return kNothingNamed.get(lang);
}

LabelFileChoice::Checked LabelFileChoice::checked(const DataDir& dir,
                                                  const std::filesystem::path& named,
                                                  std::string_view languageFlag, Lang lang) {
    Checked out{named, {}};
    if (named.empty()) {
        auto chosen = choose(dir, languageFlag);
        if (!chosen.ok())
            return {{}, chosen.result.message()};
        if (chosen.value.empty())
            return {{}, nothingNamed(lang)};
        out.file = std::move(chosen.value);
    }
    out.problem = LabelCheck::fileProblem(out.file, lang);
    if (!out.problem.empty())
        out.file.clear();
    return out;
}

} // namespace korvan
