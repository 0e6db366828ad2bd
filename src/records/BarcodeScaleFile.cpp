#include "BarcodeScaleFile.h"

namespace korvan {

Loaded<BarcodeScaleSettings> BarcodeScaleFile::load(const std::filesystem::path& file) {
    auto lines = RecordFile::readLines(file);
    Loaded<BarcodeScaleSettings> loaded{{}, lines.result};
    BarcodeScaleSettings& s = loaded.value;
    std::string* settings[] = {&s.departmentNumber, &s.labelSize, &s.barcodeType, &s.barcodeFormat};
    for (std::size_t i = 0; i < std::size(settings) && i < lines.value.size(); ++i)
        *settings[i] = std::move(lines.value[i]);
    return loaded;
}

} // namespace korvan
