#include "CliJob.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CliMain.h"
#include "CliProgress.h"
#include "commodity/CommodityList.h"
#include "commodity/DescriptionList.h"
#include "labeldesign/LabelCheck.h"
#include "labeldesign/LabelDownload.h"
#include "labeldesign/LabelFile.h"
#include "labeldesign/LabelFileChoice.h"
#include "link/ChannelFactory.h"
#include "common/TextCodec.h"
#include "link/LinkOutcome.h"
#include "link/ScaleSetTransfer.h"
#include "link/TransferRunner.h"
#include "link/UpdateImage.h"
#include "records/DateTimeDownload.h"
#include "records/SalesLog.h"
#include "records/StoreTextFile.h"

namespace korvan::cli {
namespace {

// Progress as a bar on a terminal, as lines in a log, none with --quiet.
CliProgress::Display display(const CliContext& context) {
    return context.options.quiet   ? CliProgress::Display::None
           : context.errIsTerminal ? CliProgress::Display::Bar
                                   : CliProgress::Display::Lines;
}

} // namespace

CliJob::CliJob(std::string group, std::string name, std::string help, JobKind kind)
    : CliCommand(std::move(group), std::move(name), std::move(help)), kind_(kind) {}

CliOutcome CliJob::run(const CliContext& context) {
    if (!context.options.scales.empty())
        return runOnScales(context);
    auto link = chooseLink(context, kind_);
    if (auto* refused = std::get_if<CliOutcome>(&link))
        return std::move(*refused);
    const LinkSettings& settings = std::get<LinkSettings>(link);
    Prepared prepared = prepare(context);
    if (!prepared.request)
        return {kExitUsage, std::move(prepared.error)};

    const CliOptions& options = context.options;
    CliProgress progress(context.err, display(context),
                         JobKinds::title(kind_, settings.mode).get(context.lang));
    TransferRunner runner(
        std::move(*prepared.request), settings,
        ChannelFactory::standard({options.localPort, options.scalePort}, context.dir), progress,
        context.lang);
    runner.start();
    return outcome(context, runner.waitAndProcess(), 0);
}

namespace {

// Shows a job for several scales on stderr: one bar (or line) for all of them, every scale's steps
// added up, and each scale's end as it comes.
class ScaleSetProgress : public ScaleSetObserver {
public:
    ScaleSetProgress(CliProgress& shown, Lang lang, std::size_t scales)
        : shown_(shown), lang_(lang), latest_(scales) {}
    const ScaleSetTransfer* set = nullptr;

    void progress(std::size_t scale, const TransferProgress& progress) override {
        latest_[scale] = progress;
        shown_.progress(combined());
    }
    void finished(std::size_t scale, const TransferReport&) override {
        if (set)
            shown_.note("korvan-cli: " + set->outcomeLine(scale), combined());
        if (++ended_ == latest_.size())
            shown_.finished({});
    }

private:
    TransferProgress combined() const {
        TransferProgress all;
        for (const TransferProgress& one : latest_) {
            all.position += one.position;
            all.total += one.total;
            all.totalUnknown = all.totalUnknown || one.totalUnknown;
        }
        all.countText =
            std::to_string(all.position) + ", " +
            ScaleSetTransfer::summary(lang_, set ? set->completedCount() : 0, latest_.size());
        return all;
    }

    CliProgress& shown_;
    Lang lang_;
    std::vector<TransferProgress> latest_;
    std::size_t ended_ = 0;
};

// Every line of `text` after the scale's name.
std::string underName(const std::string& name, const std::string& text) {
    std::string lines;
    std::size_t start = 0;
    do {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines += name + ": " + text.substr(start, end - start) + '\n';
        start = end + 1;
    } while (start < text.size());
    return lines;
}

} // namespace

CliOutcome CliJob::runOnScales(const CliContext& context) {
    const CliOptions& options = context.options;
    const std::string tryHelp = "\nTry '" + context.helpPrefix + " --help' for more information.";
    ScaleList list;
    if (const IoResult ready = list.loadForJob(context.dir, context.lang); !ready)
        return {kExitUsage, ready.message() + (list.scales.empty() ? tryHelp : std::string())};

    std::vector<const ScaleEntry*> chosen;
    auto choose = [&chosen](const ScaleEntry* scale) {
        if (std::find(chosen.begin(), chosen.end(), scale) == chosen.end())
            chosen.push_back(scale);
    };
    for (const std::string& name : options.scales) {
        if (name == "all") {
            for (const ScaleEntry& scale : list.scales)
                choose(&scale);
            continue;
        }
        const ScaleEntry* scale = list.find(TextCodec::toGbk(name).value_or(std::string()));
        if (!scale)
            return {kExitUsage, "no scale named '" + name +
                                    "' in record/scales.rec; known: " + list.namesText() + tryHelp};
        choose(scale);
    }

    // A job with a link of its own (the program update goes over USB) would send every scale's
    // job down the one device it finds: only scales listed with that link can take it.
    for (const ScaleEntry* scale : chosen)
        if (JobKinds::link(kind_, scale->link.mode) != scale->link.mode)
            return {kExitUsage, "scale '" + TextCodec::toUtf8Lossy(scale->name) +
                                    "' is not on the link this job needs (" +
                                    LinkSettings::modeName(JobKinds::link(kind_, scale->link.mode),
                                                           Lang::English) +
                                    ")" + tryHelp};

    std::vector<ScaleJob> jobs;
    for (const ScaleEntry* scale : chosen) {
        Prepared prepared = prepare(context);
        if (!prepared.request)
            return {kExitUsage, std::move(prepared.error)};
        jobs.push_back({*scale, std::move(*prepared.request)});
    }
    CliProgress shown(context.err, display(context),
                      ScaleSetTransfer::title(jobs).get(context.lang));
    ScaleSetProgress progress(shown, context.lang, jobs.size());
    ScaleSetTransfer set(
        std::move(jobs),
        ChannelFactory::forScales({options.localPort, options.scalePort}, context.dir), progress,
        context.lang);
    progress.set = &set;
    set.start();
    set.waitAndProcess();

    // Each scale's outcome as its own job would give it (a read's records are appended here,
    // one scale at a time), then the summary.
    std::string lines, notes;
    std::size_t completed = 0;
    bool mayHoldMore = false;
    for (std::size_t i = 0; i < set.size(); ++i) {
        const CliOutcome one = outcome(context, set.report(i), i);
        const std::string name = TextCodec::toUtf8Lossy(set.scale(i).name);
        lines += underName(name, one.report + one.line);
        if (!one.note.empty())
            notes += underName(name, one.note);
        // A read that may have left sales in the scale still completed; the status says so
        // when no scale failed.
        const bool done = one.status == kExitDone || one.status == kExitMayHoldMore;
        completed += done ? 1 : 0;
        mayHoldMore = mayHoldMore || one.status == kExitMayHoldMore;
    }
    const int status = completed < set.size() ? kExitFailed
                       : mayHoldMore          ? kExitMayHoldMore
                                              : kExitDone;
    return {status, ScaleSetTransfer::summary(context.lang, completed, set.size()),
            notes.empty() ? std::string() : notes.substr(0, notes.size() - 1), lines};
}

CliOutcome CliJob::outcome(const CliContext&, const TransferReport& report, std::size_t) {
    return {report.completed ? kExitDone : kExitFailed, report.message};
}

SendCommodities::SendCommodities()
    : CliJob("send", "commodities", "the commodity records of record/sp.rec",
             JobKind::CommodityDownload) {}

void SendCommodities::addOptions(CLI::App& command) {
    command.add_option("--family", family_, "record layout of the scale model")
        ->check(check::oneOf({"orin-kesa", "vamo"}))
        ->type_name("orin-kesa|vamo")
        ->capture_default_str();
}

CliJob::Prepared SendCommodities::prepare(const CliContext& context) {
    CommodityList list(CommodityFile::file(context.dir));
    if (const IoResult read = list.open(); !read)
        return {std::nullopt, read.message()};
    list.setModelFamily(family_ == "orin-kesa" ? ModelFamily::OrinKesa : ModelFamily::Vamo);
    if (std::string refusal = list.downloadRefusal(); !refusal.empty())
        return {std::nullopt, std::move(refusal)};
    return {list.downloadRequest(), {}};
}

SendDescriptions::SendDescriptions()
    : CliJob("send", "descriptions", "the description texts of record/spsm.rec",
             JobKind::DescriptionDownload) {}

CliJob::Prepared SendDescriptions::prepare(const CliContext& context) {
    DescriptionList list(DescriptionFile::file(context.dir));
    if (const IoResult read = list.open(); !read)
        return {std::nullopt, read.message()};
    return {list.downloadRequest(), {}};
}

namespace {
constexpr const char* kStoreTextCommands[] = {"store-name", "shop-phone", "store-address"};
}

SendStoreText::SendStoreText(StoreText::Field field)
    : CliJob("send", kStoreTextCommands[static_cast<int>(field)],
             "line " + std::to_string(static_cast<int>(field) + 1) + " of record/xpwz.rec",
             StoreText{}.downloadRequest(field).kind()),
      field_(field) {}

CliJob::Prepared SendStoreText::prepare(const CliContext& context) {
    const auto loaded = StoreTextFile::load(StoreTextFile::file(context.dir));
    if (!loaded)
        return {std::nullopt, loaded.result.message()};
    return {loaded.value.downloadRequest(field_), {}};
}

SendDateTime::SendDateTime()
    : CliJob("send", "datetime", "the scale's clock", JobKind::DateTimeDownload) {}

void SendDateTime::addOptions(CLI::App& command) {
    command.add_option("--at", at_, "the moment to set (default: now)")
        ->check(check::dateTime())
        ->type_name("\"YYYY-MM-DD HH:MM:SS\"");
}

CliJob::Prepared SendDateTime::prepare(const CliContext&) {
    const std::optional<std::tm> at = CliOptions::parseDateTime(at_);
    return {DateTimeDownload::request(at ? *at : DateTimeDownload::localNow()), {}};
}

SendLabel::SendLabel()
    : CliJob("send", "label",
             "the label layout record/dqlabel.rec names for the current language, or FILE",
             JobKind::LabelDownload) {}

void SendLabel::addOptions(CLI::App& command) {
    command.add_option("file", file_, "a label file to send instead")->type_name("FILE");
}

CliJob::Prepared SendLabel::prepare(const CliContext& context) {
    // The file named on the command line (from the working directory), else the one
    // record/dqlabel.rec names for the current language.
    auto prepared = LabelDownload::fromFile(context.dir, file_, Language::flag(), context.lang);
    if (file_.empty() && prepared.refusal == LabelFileChoice::nothingNamed(context.lang))
        prepared.refusal += "; name one: korvan-cli send label FILE";
    return {std::move(prepared.request), std::move(prepared.refusal)};
}

ReadRecords::ReadRecords()
    : CliJob({}, "read-records", "reads the scale's sales records, appends to record/dzcjl.rec",
             JobKind::ReadRecords) {}

CliJob::Prepared ReadRecords::prepare(const CliContext&) {
    std::vector<SalesRecord>* batch = &batches_.emplace_back();
    return {JobRequest{ReadRecordsPayload{
                0, [batch](const SalesRecord& record) { batch->push_back(record); }}},
            {}};
}

CliOutcome ReadRecords::outcome(const CliContext& context, const TransferReport& report,
                                std::size_t job) {
    // Records read before a failure are kept too. When they cannot be saved, that is the outcome:
    // the operator must not read "completed" over records that are only in memory.
    SalesLog log(SalesRecordFile::file(context.dir));
    const SalesLog::Appended appended = log.append(batches_[job]);
    if (!appended.result)
        return {kExitFailed, appended.result.message(),
                context.options.quiet ? std::string() : report.message};
    std::string line =
        report.message + '\n' + SalesRecordFile::appendedText(appended, context.lang);
    if (!report.completed)
        return {kExitFailed, std::move(line)};
    // A read that stopped at its limit may have left sales in the scale: a script must not
    // clear them now.
    if (log.mayHoldMore())
        return {kExitMayHoldMore,
                line + '\n' + SalesRecordFile::mayHoldMoreText(log.lastRead(), context.lang)};
    return {kExitDone, std::move(line)};
}

ClearRecords::ClearRecords()
    : CliJob({}, "clear-records", "deletes the scale's sales records", JobKind::ClearRecords) {}

void ClearRecords::addOptions(CLI::App& command) {
    command.add_flag("--yes", yes_, "confirms the deletion (required)");
}

std::string ClearRecords::usageProblem() const {
    return yes_ ? std::string()
                : "clear-records deletes every sales record in the scale; add --yes to confirm";
}

CliJob::Prepared ClearRecords::prepare(const CliContext&) {
    return {JobRequest{ClearRecordsPayload{}}, {}};
}

Update::Update()
    : CliJob({}, "update", "sends a new program to the scale (always over USB)",
             JobKind::ProgramUpdate) {}

void Update::addOptions(CLI::App& command) {
    command.add_option("file", file_, "the program file (.bin)")->required()->type_name("FILE");
}

CliJob::Prepared Update::prepare(const CliContext&) {
    // An image that cannot be read is an input file like any other (exit status 2); the job
    // opens it again when it starts (codes 215, 216; 217 when it is empty).
    UpdateImage image;
    errno = 0;
    if (const int failure = image.open(file_); failure != 0) {
        const int reason = errno;
        return {std::nullopt, "cannot read the program image " + file_ + ": " +
                                  (failure == LinkCode::kUpdateFileOpenFailed && reason != 0
                                       ? std::strerror(reason)
                                       : "not a regular file")};
    }
    return {JobRequest{UpdatePayload{file_}}, {}};
}

} // namespace korvan::cli
