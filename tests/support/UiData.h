#pragma once
// A data directory for one screen test: record files written as given, the language set.
#include "common/DataDir.h"
#include "common/Language.h"
#include "support/TempDir.h"

namespace korvan::test {

class UiData {
public:
    explicit UiData(const std::string& language = kEnglish) {
        DataDir::setCurrent(DataDir(dir_.path()));
        Language::setFlag(language);
    }
    ~UiData() { DataDir::setCurrent(DataDir()); }
    UiData(const UiData&) = delete;
    UiData& operator=(const UiData&) = delete;

    std::filesystem::path record(const std::string& name) const {
        return DataDir::current().record(name);
    }
    void write(const std::string& name, const std::string& bytes) const {
        writeBytes(record(name), bytes);
    }
    std::string read(const std::string& name) const { return readBytes(record(name)); }

private:
    TempDir dir_;
};

} // namespace korvan::test
