// A one-thread TCP server on 127.0.0.1 for tests of the program's logic: every connection it
// accepts gets the same scripted bytes, then the server closes it. Native (POSIX) only.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>

class LoopbackServer {
public:
    explicit LoopbackServer(std::string answer) : answer_(std::move(answer)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("LoopbackServer: cannot listen on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::int32_t Port() const { return port_; }
    int Connections() const { return connections_; }

private:
    void Serve() {
        while (!stopping_) {
            const int peer = ::accept(listener_, nullptr, nullptr);
            if (peer < 0)
                return;
            ++connections_;
            (void)!::send(peer, answer_.data(), answer_.size(), MSG_NOSIGNAL);
            ::close(peer);
        }
    }

    std::string answer_;
    int listener_ = -1;
    std::int32_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// The Time protocol's four bytes for a UTC date and time (seconds since 1900, big-endian).
std::string TimeAnswer(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                       unsigned second);
