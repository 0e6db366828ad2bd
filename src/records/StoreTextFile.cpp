#include "StoreTextFile.h"

namespace korvan {

Loaded<StoreText> StoreTextFile::load(const std::filesystem::path& file) {
    auto lines = RecordFile::readLines(file);
    Loaded<StoreText> loaded{{}, lines.result};
    std::string* texts[] = {&loaded.value.storeName, &loaded.value.shopPhone,
                            &loaded.value.storeAddress};
    for (std::size_t i = 0; i < std::size(texts) && i < lines.value.size(); ++i)
        *texts[i] = std::move(lines.value[i]);
    return loaded;
}

} // namespace korvan
