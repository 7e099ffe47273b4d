#include "ui/router/routerhttp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace plimb::router {

namespace {

using Clock = std::chrono::steady_clock;

struct Socket {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ~Socket() {
        if (fd >= 0) ::close(fd);
    }
};

// Waits until `fd` is ready for `events`; false when the deadline passed, a stop came or poll
// failed. In slices of 200 ms so a stop request is seen promptly.
bool await(int fd, short events, Clock::time_point deadline, const std::function<bool()>& stop,
           bool& stopped) {
    for (;;) {
        if (stop()) {
            stopped = true;
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, events, 0};
        const int rc = poll(&p, 1, static_cast<int>(std::min<long long>(left, 200)));
        if (rc > 0) return true;
        if (rc < 0 && errno != EINTR) return false;
    }
}

} // namespace

Exchange exchange(const HttpUrl& url, const std::string& request, Clock::time_point deadline,
                  const std::function<bool()>& stop) {
    Exchange out;
    bool stopped = false;
    const auto give = [&out, &stopped] {
        if (stopped) out.end = Exchange::End::Stopped;
        return out;
    };
    Socket s;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(url.port);
    if (s.fd < 0 || inet_pton(AF_INET, url.host.c_str(), &to.sin_addr) != 1) return out;
    if (connect(s.fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS)
        return out;
    int error = 0;
    socklen_t len = sizeof error;
    if (!await(s.fd, POLLOUT, deadline, stop, stopped) ||
        getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0)
        return give();
    sockaddr_in self{};
    socklen_t selfLen = sizeof self;
    char local[INET_ADDRSTRLEN] = {};
    if (getsockname(s.fd, reinterpret_cast<sockaddr*>(&self), &selfLen) == 0)
        inet_ntop(AF_INET, &self.sin_addr, local, sizeof local);
    out.localAddress = local;

    for (std::size_t sent = 0; sent < request.size();) {
        if (!await(s.fd, POLLOUT, deadline, stop, stopped)) return give();
        const ssize_t n = send(s.fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return out;
        if (n > 0) sent += static_cast<std::size_t>(n);
    }
    std::string raw;
    char buffer[8192];
    for (;;) {
        if (!await(s.fd, POLLIN, deadline, stop, stopped)) return give();
        const ssize_t n = recv(s.fd, buffer, std::min(sizeof buffer, kMaxReplyBytes - raw.size()), 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n < 0) return out;
        raw.append(buffer, static_cast<std::size_t>(n));
        out.reply = parseHttpReply(raw, n == 0);
        if (out.reply.state == HttpReply::State::Complete) {
            out.end = Exchange::End::Answered;
            return out;
        }
        // A reply cut at the cap is not taken for a whole one, however it would parse.
        if (n == 0 || out.reply.state == HttpReply::State::Bad || raw.size() >= kMaxReplyBytes) return out;
    }
}

SoapAnswer soap(const std::string& controlUrl, const std::string& service, const std::string& action,
                const std::string& arguments, Clock::time_point deadline, const std::function<bool()>& stop) {
    SoapAnswer answer;
    const auto url = parseHttpUrl(controlUrl);
    if (!url) return answer;
    const std::string body =
        "<?xml version=\"1.0\"?>\r\n<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:" +
        action + " xmlns:u=\"" + service + "\">" + arguments + "</u:" + action +
        "></s:Body></s:Envelope>\r\n";
    const std::string request =
        "POST " + url->path + " HTTP/1.1\r\nHost: " + url->host + ":" + std::to_string(url->port) +
        "\r\nContent-Type: text/xml; charset=\"utf-8\"\r\nSOAPAction: \"" + service + "#" + action +
        "\"\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    Exchange e = exchange(*url, request, deadline, stop);
    if (e.end != Exchange::End::Answered) return answer;
    answer.body = std::move(e.reply.body);
    if (e.reply.status == 200) {
        answer.code = 0;
    } else if (const auto code = elementText(answer.body, "errorCode")) {
        int v = 0;
        const auto [end, ec] = std::from_chars(code->data(), code->data() + code->size(), v);
        if (ec == std::errc() && end == code->data() + code->size() && v > 0) answer.code = v;
    }
    return answer;
}

} // namespace plimb::router
