// What the PC adds per message of a transfer beyond the protocol's own pause after a send:
// 2000 commodities downloaded over the loopback to a peer that answers at once. The pause runs
// from each send, so with a quick peer the floor is one pause per message. Also the same download
// to 1 to 16 scales at once, with the PC side's CPU time per scale count.
#include "common/UniqueFd.h"
#include "link/Protocol.h"
#include "link/ScaleSetTransfer.h"
#include "link/TransferRunner.h"
#include "link/UdpChannel.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <vector>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvan;

namespace {

// Answers like a quick scale: the hello and the end byte back, an acknowledgement otherwise.
class Responder {
public:
    // On `ip` (any 127.x.y.z is the loopback) at `port` (0: a free one).
    explicit Responder(const char* ip = "127.0.0.1", std::uint16_t port = 0)
        : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        ::inet_pton(AF_INET, ip, &address.sin_addr);
        address.sin_port = htons(port);
        ::bind(fd_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~Responder() {
        stop_ = true;
        thread_.join();
    }
    std::uint16_t port() const { return port_; }
    void replyTo(std::uint16_t port) { replyPort_ = port; }
    long messages() const { return messages_; }

private:
    void serve() {
        char buffer[256];
        while (!stop_) {
            pollfd fd{fd_.get(), POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n = ::recvfrom(fd_.get(), buffer, sizeof buffer, 0,
                                         reinterpret_cast<sockaddr*>(&from), &length);
            if (n <= 0)
                continue;
            ++messages_;
            const char answer =
                (n == 1 && (buffer[0] == protocol::kHello || buffer[0] == protocol::kEnd))
                    ? buffer[0]
                    : protocol::kAck;
            from.sin_port = htons(replyPort_);
            ::sendto(fd_.get(), &answer, 1, 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
        }
    }

    UniqueFd fd_;
    std::uint16_t port_ = 0;
    std::atomic<std::uint16_t> replyPort_{0};
    std::atomic<long> messages_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::uint16_t freePort() {
    const UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

JobRequest commodities(int rows) {
    CommodityPayload payload;
    for (int i = 0; i < rows; ++i)
        payload.rows.push_back({"Commodity " + std::to_string(i), std::to_string(100000 + i),
                                "12.50", true, true, "0", "7", false, "0", "3"});
    return {std::move(payload)};
}

// pauseMs: the pause after each send (5 in the product; 0 shows the bare cost).
void download(benchmark::State& state, int pauseMs) {
    const JobRequest request = commodities(2000);
    TransferObserver quiet;
    double overheadSum = 0;
    long runs = 0;
    for (auto _ : state) {
        Responder scale;
        const std::uint16_t local = freePort();
        scale.replyTo(local);
        ChannelTiming timing = ChannelTiming::network();
        timing.pauseAfterSend = std::chrono::milliseconds(pauseMs);
        LinkSettings settings;
        settings.setMode(LinkMode::Network);
        settings.targetIp = "127.0.0.1";
        const auto begun = std::chrono::steady_clock::now();
        TransferRunner runner(
            request, settings,
            [&](const LinkSettings& s) -> std::unique_ptr<Channel> {
                return std::make_unique<UdpChannel>(s.targetIp, local, scale.port(), timing);
            },
            quiet, Lang::English);
        runner.start();
        const TransferReport report = runner.waitAndProcess();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        if (!report.completed) {
            state.SkipWithError(report.message.c_str());
            return;
        }
        const double perMessage = seconds / static_cast<double>(scale.messages());
        overheadSum += perMessage - pauseMs / 1000.0;
        ++runs;
        state.counters["messages"] = static_cast<double>(scale.messages());
    }
    const double overhead = overheadSum / runs;
    state.counters["ms_per_message_beyond_pause"] = overhead * 1000.0;
    // The whole transfer against the protocol's floor, every message one pause apart (the
    // budget is 1.03).
    if (pauseMs > 0)
        state.counters["times_the_floor"] = 1.0 + overhead / (pauseMs / 1000.0);
}

void BM_Download2000Commodities(benchmark::State& state) {
    download(state, 5);
}
void BM_Download2000CommoditiesNoPause(benchmark::State& state) {
    download(state, 0);
}

BENCHMARK(BM_Download2000Commodities)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_Download2000CommoditiesNoPause)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// CPU time of this process (user and system), in seconds.
double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The scales answer from a child process, so this process's CPU time is the PC side's alone.
// They listen on 127.0.0.2 and up, all on one port, and answer to the PC's one local port.
class ScalesProcess {
public:
    ScalesProcess(int count, std::uint16_t port, std::uint16_t replyPort) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        UniqueFd readEnd(fds[0]);
        stop_.reset(fds[1]);
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0)
            return;
        UniqueFd readyRead(ready[0]), readyWrite(ready[1]);
        pid_ = ::fork();
        if (pid_ == 0) {
            stop_.reset();
            std::vector<std::unique_ptr<Responder>> scales;
            for (int i = 0; i < count; ++i) {
                const std::string ip = "127.0.0." + std::to_string(2 + i);
                scales.push_back(std::make_unique<Responder>(ip.c_str(), port));
                scales.back()->replyTo(replyPort);
            }
            readyWrite.reset(); // the parent may send now
            char byte;
            while (::read(readEnd.get(), &byte, 1) < 0 && errno == EINTR) {
            }
            ::_exit(0); // the responders' threads go with the process
        }
        readyWrite.reset();
        char byte;
        while (::read(readyRead.get(), &byte, 1) < 0 && errno == EINTR) {
        }
    }
    ~ScalesProcess() {
        stop_.reset();
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }
    bool started() const { return pid_ > 0; }

private:
    UniqueFd stop_;
    pid_t pid_ = -1;
};

// 2000 commodities to each of `scales` scales at once over the network, at the product's pause.
void BM_Download2000CommoditiesToScales(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    static double oneScaleSeconds = 0; // the 1-scale run comes first
    for (auto _ : state) {
        const std::uint16_t scalePort = freePort();
        const std::uint16_t local = freePort();
        ScalesProcess scales(count, scalePort, local);
        if (!scales.started()) {
            state.SkipWithError("cannot start the scales");
            return;
        }
        std::vector<ScaleJob> jobs;
        for (int i = 0; i < count; ++i) {
            ScaleEntry scale{"scale" + std::to_string(i + 2), {}};
            scale.link.setMode(LinkMode::Network);
            scale.link.targetIp = "127.0.0." + std::to_string(2 + i);
            jobs.push_back({scale, commodities(2000)});
        }
        ScaleSetObserver quiet;
        const double cpuBefore = processCpuSeconds();
        const auto begun = std::chrono::steady_clock::now();
        {
            ScaleSetTransfer set(std::move(jobs), ChannelFactory::forScales({local, scalePort}),
                                 quiet, Lang::English);
            set.start();
            set.waitAndProcess();
            if (!set.allCompleted()) {
                state.SkipWithError(
                    ScaleSetTransfer::summary(Lang::English, set.completedCount(), set.size())
                        .c_str());
                return;
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        const double cpu = processCpuSeconds() - cpuBefore;
        if (count == 1)
            oneScaleSeconds = seconds;
        state.counters["seconds"] = seconds;
        state.counters["pc_cpu_ms"] = cpu * 1000.0;
        state.counters["pc_cpu_ms_per_scale"] = cpu * 1000.0 / count;
        // The budget: at most 1.1 times the time of one scale.
        if (oneScaleSeconds > 0)
            state.counters["times_one_scale"] = seconds / oneScaleSeconds;
    }
}
BENCHMARK(BM_Download2000CommoditiesToScales)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// The job routine alone: the record bytes and decisions for 2000 acknowledgements.
void BM_JobRoutine2000Records(benchmark::State& state) {
    const JobRequest request = commodities(2000);
    for (auto _ : state) {
        JobRoutine routine(request, Lang::English);
        std::size_t bytes = routine.onAnswer(std::string(1, protocol::kHello)).size();
        while (!routine.finished()) {
            const std::string next = routine.onAnswer(std::string(1, protocol::kAck));
            bytes += next.size();
            if (next == std::string(1, protocol::kEnd))
                routine.onAnswer(next);
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_JobRoutine2000Records)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
