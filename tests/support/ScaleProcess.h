#pragma once
// The simulated scale as a child process on free loopback ports, with its own store folder.
// Tests that use it take the korvan_loopback_e2e resource lock.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/UdpPeer.h"
#include "support/TempDir.h"
#include "tools/e2e/Process.h"

namespace korvan::test {

struct ScaleProcess {
    std::uint16_t port = UdpPeer::freePort();  // the scale listens here
    std::uint16_t reply = UdpPeer::freePort(); // the scale answers to this port
    TempDir store;
    std::unique_ptr<Child> child;

    explicit ScaleProcess(const std::string& program, const std::vector<std::string>& extra = {},
                          const ScaleProcess* sharingPorts = nullptr) {
        if (sharingPorts)
            port = sharingPorts->port, reply = sharingPorts->reply;
        std::vector<std::string> argv{program,
                                      "--store",
                                      store.path().string(),
                                      "--port",
                                      std::to_string(port),
                                      "--reply-port",
                                      std::to_string(reply),
                                      "--probe-port",
                                      "0"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        child = std::make_unique<Child>(argv);
        if (!child->waitForLine("listening", std::chrono::seconds(10))) {
            std::fprintf(stderr, "korvan-scale did not start\n");
            std::abort();
        }
    }
    std::string read(const char* file) const { return readBytes(store / file); }

    // Scales side by side on the same two ports, each bound to its own address (127.0.0.2 on)
    // with its own further options: the PC tells their answers apart by the sender.
    static std::vector<std::unique_ptr<ScaleProcess>>
    sideBySide(const std::string& program, const std::vector<std::vector<std::string>>& extras) {
        std::vector<std::unique_ptr<ScaleProcess>> scales;
        for (std::size_t i = 0; i < extras.size(); ++i) {
            std::vector<std::string> extra = {"--bind", "127.0.0." + std::to_string(i + 2)};
            extra.insert(extra.end(), extras[i].begin(), extras[i].end());
            scales.push_back(std::make_unique<ScaleProcess>(
                program, extra, scales.empty() ? nullptr : scales.front().get()));
        }
        return scales;
    }
};

} // namespace korvan::test
