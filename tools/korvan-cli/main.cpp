// korvan-cli: runs one transfer job with the scale without a window, on the same engine as the
// desktop program's transfer dialog.
#include "CliJob.h"
#include "CliOptions.h"
#include "CliProgress.h"
#include "SalesRecordAppender.h"

#include "common/DataDir.h"
#include "common/Language.h"
#include "link/ChannelFactory.h"
#include "link/LinkSettings.h"
#include "link/TransferRunner.h"

#include <cstdio>
#include <unistd.h>

using namespace korvan;
using namespace korvan::cli;

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int usageError(const std::string& message) {
    std::fprintf(stderr, "korvan-cli: %s\nTry 'korvan-cli --help'.\n", message.c_str());
    return kExitUsage;
}

const char* linkName(LinkMode mode) {
    switch (mode) {
    case LinkMode::Serial:
        return "serial";
    case LinkMode::Usb:
        return "USB";
    case LinkMode::Network:
        return "network";
    case LinkMode::None:
        break;
    }
    return "no";
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<CliOptions> options =
        CliOptions::parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options)
        return usageError(error);
    if (options->help) {
        std::fputs(CliOptions::usage(), stdout);
        return kExitDone;
    }

    const DataDir dir(options->dataDir.empty() ? std::filesystem::current_path()
                                               : std::filesystem::path(options->dataDir));
    Language::load(dir.record("language.rec"));
    const Lang lang = Language::current();

    LinkSettings settings;
    if (const IoResult read = settings.load(dir.record("tx.rec")); !read) {
        std::fprintf(stderr, "korvan-cli: %s\n", read.message().c_str());
        return kExitUsage;
    }
    if (options->link)
        settings.setMode(*options->link);
    if (options->ip)
        settings.targetIp = *options->ip;
    if (options->port)
        settings.port = *options->port;
    if (settings.mode == LinkMode::None)
        return usageError("record/tx.rec names no link; choose one with --link");
    if (!ChannelFactory::isAvailable(settings.mode)) {
        std::fprintf(stderr, "korvan-cli: the %s link is not available yet; use --link network\n",
                     linkName(settings.mode));
        return kExitFailed;
    }

    std::vector<SalesRecord> records;
    std::optional<JobRequest> request = CliJob::load(*options, dir, records, error);
    if (!request) {
        std::fprintf(stderr, "korvan-cli: %s\n", error.c_str());
        return kExitUsage;
    }

    const std::string title = JobKinds::title(request->kind, settings.mode).get(lang);
    CliProgress progress(stderr, ::isatty(STDERR_FILENO) == 1, title);
    TransferRunner runner(std::move(*request), settings,
                          ChannelFactory::standard({options->localPort, options->scalePort}),
                          progress, lang);
    runner.start();
    const TransferReport report = runner.waitAndProcess();

    int status = report.completed ? kExitDone : kExitFailed;
    // Records read before a failure are kept too.
    if (const IoResult saved = SalesRecordAppender::append(dir.record("dzcjl.rec"), records);
        !saved) {
        std::fprintf(stderr, "korvan-cli: %s\n", saved.message().c_str());
        status = kExitFailed;
    }
    std::printf("%s\n", report.message.c_str());
    return status;
}
