#pragma once
// A plain blocking TCP client that speaks the game's framing, for end-to-end tests: it sees
// exactly the bytes a foreign peer would.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "support/patience.h"

namespace plimb::test {

class RawClient {
public:
    RawClient() = default;
    // With an idle hook the client never blocks for long: it polls in short steps and runs the
    // hook in between, so a server living in the same thread keeps serving.
    explicit RawClient(std::function<void()> idle) : idle_(std::move(idle)) {}
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() { disconnect(); }

    bool connectTo(int port, std::chrono::milliseconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (idle_) idle_();
            fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_port = htons(static_cast<uint16_t>(port));
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return true;
            ::close(fd_);
            fd_ = -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Takes over a connected socket, such as one a RawHost accepted.
    void adopt(int fd) {
        disconnect();
        fd_ = fd;
        closed_ = false;
        tail_.clear();
        messages_.clear();
    }

    void disconnect() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // Ends the connection with a reset instead of an orderly close, as a crashed or unplugged
    // peer's system does.
    void reset() {
        if (fd_ < 0) return;
        const linger abort{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        disconnect();
    }

    // False once the peer no longer takes the bytes (it closed).
    bool sendRaw(const std::string& bytes) const {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    void send(const std::string& text) const { sendRaw(text + '\xff'); }

    // The next message, or nullopt when none arrives within the patience or the peer closed.
    std::optional<std::string> next(std::chrono::milliseconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (messages_.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || closed_) return std::nullopt;
            pollfd p{fd_, POLLIN, 0};
            if (idle_) idle_();
            const int wait = idle_ ? 2 : static_cast<int>(left.count());
            if (::poll(&p, 1, wait) <= 0) continue;
            char buf[4096];
            const auto n = ::recv(fd_, buf, sizeof buf, 0);
            if (n <= 0) {
                closed_ = true;
                continue;
            }
            tail_.append(buf, static_cast<std::size_t>(n));
            for (auto end = tail_.find('\xff'); end != std::string::npos; end = tail_.find('\xff')) {
                messages_.push_back(tail_.substr(0, end));
                tail_.erase(0, end + 1);
            }
        }
        std::string front = std::move(messages_.front());
        messages_.pop_front();
        return front;
    }

    // Reads messages until one starts with `prefix`; returns it, or nullopt on time-out.
    std::optional<std::string> waitFor(const std::string& prefix,
                                       std::chrono::milliseconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            auto m = next(left);
            if (!m) return std::nullopt;
            if (m->rfind(prefix, 0) == 0) return m;
        }
        return std::nullopt;
    }

    // True when the peer has closed the connection (waits up to the patience for it).
    bool closedByPeer(std::chrono::milliseconds patience = kPatience) {
        while (next(patience)) {
        }
        return closed_;
    }

private:
    std::function<void()> idle_;
    int fd_ = -1;
    bool closed_ = false;
    std::string tail_;
    std::deque<std::string> messages_;
};

// A listening socket on a loopback port: the host a program under test joins, played by the test.
class RawHost {
public:
    explicit RawHost(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        listening_ =
            ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(fd_, 5) == 0;
    }
    RawHost(const RawHost&) = delete;
    RawHost& operator=(const RawHost&) = delete;
    ~RawHost() { ::close(fd_); }

    bool listening() const { return listening_; }

    // Waits for the next connection and hands it to `client`; false when none comes in time.
    bool accept(RawClient& client, std::chrono::milliseconds patience = kPatience) const {
        pollfd p{fd_, POLLIN, 0};
        if (!listening_ || ::poll(&p, 1, static_cast<int>(patience.count())) != 1) return false;
        const int fd = ::accept(fd_, nullptr, nullptr);
        if (fd < 0) return false;
        client.adopt(fd);
        return true;
    }

private:
    int fd_ = -1;
    bool listening_ = false;
};

} // namespace plimb::test
