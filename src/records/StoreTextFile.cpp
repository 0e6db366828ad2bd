#include "StoreTextFile.h"

namespace korvan {

namespace {

Loaded<StoreText> fromLines(const Loaded<std::vector<std::string>>& lines) {
    Loaded<StoreText> loaded{{}, lines.result};
    std::string* texts[] = {&loaded.value.storeName, &loaded.value.shopPhone,
                            &loaded.value.storeAddress};
    for (std::size_t i = 0; i < std::size(texts) && i < lines.value.size(); ++i)
        *texts[i] = StoreTextFile::fromLine(lines.value[i]);
    return loaded;
}

} // namespace

Loaded<StoreText> StoreTextFile::load(const std::filesystem::path& file) {
    return fromLines(RecordFile::readLines(file));
}

Loaded<StoreText> StoreTextFile::load(TrackedFile& file) {
    return fromLines(file.readLines());
}

std::vector<std::string> StoreTextFile::lines(const StoreText& text) {
    return {toLine(text.storeName), toLine(text.shopPhone), toLine(text.storeAddress)};
}

IoResult StoreTextFile::save(const std::filesystem::path& file, const StoreText& text) {
    return RecordFile::writeLines(file, lines(text));
}

std::string StoreTextFile::toLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n')
            c = kLineFeedMark;
        else if (c == '\r')
            c = kCarriageReturnMark;
    }
    return line;
}

std::string StoreTextFile::fromLine(std::string_view line) {
    std::string text(line);
    for (char& c : text) {
        if (c == kLineFeedMark)
            c = '\n';
        else if (c == kCarriageReturnMark)
            c = '\r';
    }
    return text;
}

} // namespace korvan
