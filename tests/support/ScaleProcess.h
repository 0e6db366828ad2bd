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
                          std::uint16_t sharedPort = 0, std::uint16_t sharedReply = 0) {
        // Scales side by side (each --bind to its own address) share the ports.
        if (sharedPort != 0)
            port = sharedPort, reply = sharedReply;
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
};

} // namespace korvan::test
