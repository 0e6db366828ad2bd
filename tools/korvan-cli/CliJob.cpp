#include "CliJob.h"

#include <cerrno>
#include <cstring>

#include "commodity/CommodityList.h"
#include "commodity/DescriptionList.h"
#include "common/Language.h"
#include "labeldesign/LabelCheck.h"
#include "labeldesign/LabelDownload.h"
#include "link/LinkOutcome.h"
#include "link/UpdateImage.h"
#include "labeldesign/LabelFile.h"
#include "labeldesign/LabelFileChoice.h"
#include "records/DateTimeDownload.h"
#include "records/StoreTextFile.h"

namespace korvan::cli {
namespace {

StoreText::Field storeTextField(Command command) {
    switch (command) {
    case Command::SendShopPhone:
        return StoreText::Field::ShopPhone;
    case Command::SendStoreAddress:
        return StoreText::Field::StoreAddress;
    default:
        return StoreText::Field::StoreName;
    }
}

// The label file to send: the one named on the command line (from the working directory), else
// the one record/dqlabel.rec names for the current language.
Loaded<std::filesystem::path> labelFile(const CliOptions& options, const DataDir& dir) {
    if (!options.labelFile.empty())
        return {std::filesystem::path(options.labelFile), {}};
    return LabelFileChoice::choose(dir, Language::flag());
}

} // namespace

std::optional<JobRequest> CliJob::load(const CliOptions& options, const DataDir& dir,
                                       std::vector<SalesRecord>& records, std::string& error) {
    // The requests are put together by the same core functions the screens use.
    JobRequest request;
    request.kind = jobKind(options.command);
    IoResult result;
    switch (options.command) {
    case Command::SendCommodities: {
        CommodityList list(dir.record("sp.rec"));
        result = list.open();
        list.setModelFamily(options.family);
        request = list.downloadRequest();
        if (result && !(error = list.downloadRefusal()).empty())
            return std::nullopt;
        break;
    }
    case Command::SendDescriptions: {
        DescriptionList list(dir.record("spsm.rec"));
        result = list.open();
        request = list.downloadRequest();
        break;
    }
    case Command::SendStoreName:
    case Command::SendShopPhone:
    case Command::SendStoreAddress: {
        const auto loaded = StoreTextFile::load(dir.record("xpwz.rec"));
        result = loaded.result;
        request = loaded.value.downloadRequest(storeTextField(options.command));
        break;
    }
    case Command::SendDateTime:
        request =
            DateTimeDownload::request(options.at ? *options.at : DateTimeDownload::localNow());
        break;
    case Command::SendLabel: {
        const auto file = labelFile(options, dir);
        if (file && file.value.empty()) {
            error = "record/dqlabel.rec names no label file for this language; name one: "
                    "korvan-cli send label FILE";
            return std::nullopt;
        }
        if (file && !(error = LabelCheck::fileProblem(file.value, Language::current())).empty())
            return std::nullopt;
        const auto label = file ? LabelFile::load(file.value) : Loaded<Label>{};
        result = file ? label.result : file.result;
        request = LabelDownload::request(label.value);
        if (result &&
            !(error = LabelCheck::downloadProblem(label.value, Language::current())).empty())
            return std::nullopt;
        break;
    }
    case Command::ReadRecords:
        request.recordSink = [&records](const SalesRecord& record) { records.push_back(record); };
        break;
    case Command::Update: {
        // An image that cannot be read is an input file like any other (exit status 2); the
        // job opens it again when it starts (codes 215, 216; 217 when it is empty).
        request.updateFile = options.updateFile;
        UpdateImage image;
        errno = 0;
        if (const int failure = image.open(request.updateFile); failure != 0) {
            const int reason = errno;
            error =
                "cannot read the program image " + options.updateFile + ": " +
                (failure == LinkCode::kUpdateFileOpenFailed && reason != 0 ? std::strerror(reason)
                                                                           : "not a regular file");
            return std::nullopt;
        }
        break;
    }
    case Command::ClearRecords:
    case Command::ExportRecords:
    case Command::PrintRecords:
    case Command::ExportCommodities:
    case Command::ImportCommodities:
    case Command::TestLink:
        break;
    }
    if (!result) {
        error = result.message();
        return std::nullopt;
    }
    return request;
}

} // namespace korvan::cli
