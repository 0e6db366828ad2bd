// korvan-scale: a simulated price scale for trying and testing the PC side without hardware.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "EventLoop.h"
#include "HidTransport.h"
#include "PtyTransport.h"
#include "RawLog.h"
#include "SalesRecords.h"
#include "ScaleHost.h"
#include "ScaleOptions.h"
#include "ScaleStore.h"
#include "UdpTransport.h"

using korvan::IoResult;
using namespace korvan::sim;

namespace {

std::atomic<EventLoop*> gLoop{nullptr};

void onStopSignal(int) {
    if (EventLoop* loop = gLoop.load())
        loop->stop();
}

int failure(const std::string& text) {
    std::fprintf(stderr, "korvan-scale: %s\n", text.c_str());
    return 1;
}

// Fills the store with the records to serve: from --sales, generated, or kept from earlier.
IoResult prepareSales(const ScaleOptions& options, ScaleStore& store) {
    if (options.salesFile) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*options.salesFile, ec))
            return IoResult::failed(options.salesFile->string() + ": no such file");
        auto records = SalesRecords::fromRecordFile(*options.salesFile);
        if (!records)
            return records.result;
        return store.replaceSales(std::move(records.value));
    }
    if (options.salesCount)
        return store.replaceSales(SalesRecords::generate(*options.salesCount));
    return store.loadSales();
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = ScaleOptions::parse(argc - 1, argv + 1);
    if (!parsed) {
        std::fprintf(stderr, "korvan-scale: %s\nTry 'korvan-scale --help' for more information.\n",
                     parsed.result.why().c_str());
        return 2;
    }
    const ScaleOptions& options = parsed.value;
    if (options.help) {
        std::fputs(ScaleOptions::usage().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    ScaleStore store(options.store);
    if (auto ready = store.prepare(); !ready)
        return failure(ready.message());
    if (const IoResult prepared = prepareSales(options, store); !prepared)
        return failure(prepared.why());
    RawLog log;
    if (const IoResult opened = log.open(store.file(ScaleStore::kRawLog)); !opened)
        return failure(opened.why());
    log.mark("korvan-scale started");

    EventLoop loop;
    if (!loop.valid())
        return failure("cannot create the event loop");
    ScaleHost host(store, log, loop, options.session);
    if (!options.quiet)
        host.onNote = [](const std::string& text) {
            std::fprintf(stderr, "korvan-scale: %s\n", text.c_str());
        };
    int jobsDone = 0;
    host.onJob = [&](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (options.jobs && ++jobsDone >= *options.jobs)
            loop.stopWhenIdle();
    };

    std::vector<std::unique_ptr<Transport>> links;
    links.push_back(std::make_unique<UdpTransport>(host, options.udp));
    PtyTransport* serial = nullptr;
    if (options.serial) {
        auto pty = std::make_unique<PtyTransport>(host);
        serial = pty.get();
        links.push_back(std::move(pty));
    }
    HidTransport* usb = nullptr;
    if (options.usb) {
        auto hid = std::make_unique<HidTransport>(host, options.hid);
        usb = hid.get();
        links.push_back(std::move(hid));
    }
    for (auto& link : links) {
        if (const IoResult opened = link->open(); !opened)
            return failure(opened.why());
        host.note("listening on " + link->describe());
    }
    // The terminal's path changes from run to run; scripts read it from this line.
    if (serial)
        std::printf("serial %s\n", serial->path().c_str());
    if (usb)
        std::printf("usb %s\n", usb->path().c_str());

    gLoop = &loop;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    std::printf("listening\n");
    std::fflush(stdout);
    const bool ran = loop.run();
    gLoop = nullptr;
    log.mark("korvan-scale stopped");
    return ran ? 0 : failure("polling failed");
}
