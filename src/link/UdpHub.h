#pragma once
// The one receiving socket of a network job for several scales. Every scale answers to the same
// port of the PC, so the socket is bound once and a reader thread hands each datagram to the
// mailbox of its source address; a datagram from an address no scale of the job has is dropped.
// The socket is bound when the first scale's channel joins and closed when the last one leaves.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "common/UniqueFd.h"

namespace korvan {

class UdpHub {
public:
    // The datagrams of one scale, in the order they arrived. Its descriptor is readable while
    // one is waiting.
    class Mailbox {
    public:
        Mailbox();
        int fd() const { return readyFd_.get(); }
        // The oldest datagram, or nothing when none is waiting.
        std::optional<std::string> take();
        void put(std::string bytes);

    private:
        std::mutex mutex_;
        std::deque<std::string> datagrams_;
        UniqueFd readyFd_; // an eventfd, readable while datagrams_ is not empty
    };

    struct Joined {
        std::shared_ptr<Mailbox> mailbox; // nullptr when the socket could not be bound
        bool portInUse = false;           // another program holds the port
    };

    explicit UdpHub(std::uint16_t localPort);
    ~UdpHub();
    UdpHub(const UdpHub&) = delete;
    UdpHub& operator=(const UdpHub&) = delete;

    // Hands the datagrams of `address` (IPv4, network byte order) to a new mailbox from now on.
    // An address that already has one gets none: its answers could not be told apart.
    Joined join(std::uint32_t address);
    void leave(std::uint32_t address);

    std::uint16_t localPort() const { return localPort_; }

private:
    void read();
    void stopReader();

    std::uint16_t localPort_;
    // Binding and closing the socket (with the reader) under `lifeMutex_`; the reader itself
    // takes `mutex_` alone, to look up a mailbox, so a stop can wait for it.
    std::mutex lifeMutex_;
    std::mutex mutex_;
    std::map<std::uint32_t, std::shared_ptr<Mailbox>> mailboxes_;
    UniqueFd socket_;
    UniqueFd stopFd_;
    std::thread reader_;
};

} // namespace korvan
