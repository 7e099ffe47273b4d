#include "core/settings/regularfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimb {
namespace {

using Status = RegularFileRead::Status;

RegularFileRead outcome(Status status, int error = 0) {
    RegularFileRead read;
    read.status = status;
    read.error = error;
    return read;
}

RegularFileRead failure(int error) {
    if (error == ENOENT || error == ENOTDIR) return outcome(Status::Missing);
    return outcome(Status::Failed, error);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

RegularFileRead readRegularFile(const std::string& path, std::size_t maxBytes) {
    // Opening a FIFO waits for a writer and opening a device may do something: look first.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return failure(errno);
    if (!S_ISREG(info.st_mode)) return outcome(Status::NotRegular);
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) return outcome(Status::TooLarge);

    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return failure(errno);
    if (::fstat(fd.get(), &info) != 0) return failure(errno);
    if (!S_ISREG(info.st_mode)) return outcome(Status::NotRegular);

    RegularFileRead read;
    read.status = Status::Read;
    read.bytes.reserve(static_cast<std::size_t>(info.st_size));
    // The file may grow while it is read: one byte past the cap is enough to say so.
    char buffer[65536];
    for (;;) {
        const std::size_t room = maxBytes + 1 - read.bytes.size();
        const ssize_t got = ::read(fd.get(), buffer, room < sizeof buffer ? room : sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return outcome(Status::Failed, errno);
        }
        if (got == 0) break;
        read.bytes.append(buffer, static_cast<std::size_t>(got));
        if (read.bytes.size() > maxBytes) return outcome(Status::TooLarge);
    }
    return read;
}

} // namespace plimb
