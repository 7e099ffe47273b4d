#include "ui/app/signalclose.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plimb {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void onSignal(int signal) {
    // Only async-signal-safe calls here; a full pipe drops the byte, and one is enough.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) (void)!::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalCloser::SignalCloser(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds_) != 0) {
        fds_[0] = fds_[1] = -1;
        return;
    }
    writeEnd = fds_[1];
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalCloser::readSignals);
    struct sigaction action {};
    action.sa_handler = plimb::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

SignalCloser::~SignalCloser() {
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    writeEnd = -1;
    delete notifier_;
    for (int fd : fds_)
        if (fd >= 0) ::close(fd);
}

void SignalCloser::readSignals() {
    unsigned char bytes[16];
    for (;;) {
        const auto n = ::read(fds_[0], bytes, sizeof bytes);
        if (n <= 0) return;
        for (ssize_t i = 0; i < n; ++i)
            onSignal_(bytes[i]);
    }
}

} // namespace plimb
