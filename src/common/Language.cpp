#include "Language.h"

#include <cstdlib>

namespace korvan::Language {
namespace {
std::string& storage() {
    static std::string flag;
    return flag;
}
} // namespace

const std::string& flag() {
    return storage();
}
void setFlag(std::string flag) {
    storage() = std::move(flag);
}

Lang current() {
    const std::string& f = storage();
    if (f == kChinese)
        return Lang::Chinese;
    if (f == kEnglish)
        return Lang::English;
    return Lang::Unknown;
}

std::string flagFromLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value).rfind("zh", 0) == 0 ? kChinese : kEnglish;
    }
    return kEnglish;
}

void load(const std::filesystem::path& languageFile) {
    std::error_code ec;
    if (!std::filesystem::exists(languageFile, ec)) {
        setFlag(flagFromLocale());
        return;
    }
    const auto lines = RecordFile::readLines(languageFile);
    if (!lines) {
        // Unreadable: as if there were none, rather than the empty file's Chinese.
        setFlag(flagFromLocale());
        return;
    }
    setFlag(lines.value.empty() ? std::string(kChinese) : lines.value.front());
}

IoResult save(const std::filesystem::path& languageFile, const std::string& flag) {
    setFlag(flag);
    return RecordFile::writeAll(languageFile, flag);
}

} // namespace korvan::Language
