#include "CliJob.h"

#include "commodity/CommodityFile.h"
#include "commodity/DescriptionFile.h"
#include "common/RecordFile.h"
#include "link/RecordBuilder.h"

#include <ctime>

namespace korvan::cli {
namespace {

// Lines 1 to 3 of xpwz.rec: store name, shop phone, store address; a missing line is empty.
std::optional<std::string> storeText(const DataDir& dir, std::size_t line, std::string& error) {
    const auto lines = RecordFile::readLines(dir.record("xpwz.rec"));
    if (!lines) {
        error = lines.result.message();
        return std::nullopt;
    }
    return line < lines.value.size() ? lines.value[line] : std::string();
}

} // namespace

std::optional<JobRequest> CliJob::load(const CliOptions& options, const DataDir& dir,
                                       std::vector<SalesRecord>& records, std::string& error) {
    JobRequest request;
    request.kind = jobKind(options.command);
    IoResult result;
    switch (options.command) {
    case Command::SendCommodities: {
        request.family = options.family;
        const auto loaded = CommodityFile::load(dir.record("sp.rec"));
        result = loaded.result;
        request.rows = CommodityFile::downloadRows(loaded.value);
        break;
    }
    case Command::SendDescriptions: {
        const auto loaded = DescriptionFile::load(dir.record("spsm.rec"));
        result = loaded.result;
        request.rows = DescriptionFile::downloadRows(loaded.value);
        break;
    }
    case Command::SendStoreName:
    case Command::SendShopPhone:
    case Command::SendStoreAddress: {
        const std::size_t line = options.command == Command::SendStoreName   ? 0
                                 : options.command == Command::SendShopPhone ? 1
                                                                             : 2;
        std::optional<std::string> text = storeText(dir, line, error);
        if (!text)
            return std::nullopt;
        request.text = *text;
        break;
    }
    case Command::SendDateTime: {
        std::tm local{};
        if (options.at) {
            local = *options.at;
        } else {
            const std::time_t now = std::time(nullptr);
            ::localtime_r(&now, &local);
        }
        request.text = RecordBuilder::dateTimeText(local);
        break;
    }
    case Command::ReadRecords:
        request.recordSink = [&records](const SalesRecord& record) { records.push_back(record); };
        break;
    case Command::ClearRecords:
        break;
    }
    if (!result) {
        error = result.message();
        return std::nullopt;
    }
    return request;
}

} // namespace korvan::cli
