#include "app/instanceguard.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimb {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr qint64 kMaxRequest = 64;

// Opened without following a link in the last place, so a link planted under the name is refused
// rather than followed into a folder of someone else's choosing.
bool isPrivateFolder(const QString& path, bool setMode) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
    if (ok && (info.st_mode & 0777) != 0700) ok = setMode && ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

// Whose process is at the other end of a connected local socket.
bool peerIsUser(qintptr descriptor, uid_t user) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return descriptor >= 0 &&
           ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           length == sizeof peer && peer.uid == user;
}

} // namespace

InstanceGuard::InstanceGuard(QObject* parent) : InstanceGuard(::geteuid(), parent) {}

InstanceGuard::InstanceGuard(uid_t user, QObject* parent) : QObject(parent), user_(user) {}

QString InstanceGuard::privateFolder(const QString& xdgRuntimeDir, const QString& tempDir) {
    if (!xdgRuntimeDir.isEmpty()) {
        const QString runtime = QDir::cleanPath(xdgRuntimeDir);
        // The session made this folder; one that anybody else may enter is not used, nor mended.
        if (isPrivateFolder(runtime, false)) return runtime;
    }
    if (tempDir.isEmpty()) return {};
    const QString own = QDir::cleanPath(tempDir) + QStringLiteral("/plimb-%1").arg(::geteuid());
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST) return {};
    return isPrivateFolder(own, true) ? own : QString();
}

QString InstanceGuard::name() {
    const QString folder = privateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
    if (folder.isEmpty()) return {};
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qgetenv("DISPLAY");
    const QByteArray hash = QCryptographicHash::hash(display, QCryptographicHash::Sha1).toHex().left(12);
    return folder + QStringLiteral("/24oxev-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool InstanceGuard::otherInstanceRunning() {
    const QString path = name();
    if (path.isEmpty()) return false;
    QLocalSocket probe;
    probe.connectToServer(path);
    if (!probe.waitForConnected(500)) return false;
    // Someone else's listener is no copy of ours: this copy runs, and serve() takes the name.
    if (!peerIsUser(probe.socketDescriptor(), user_)) {
        probe.abort();
        return false;
    }
    probe.write(kRaiseRequest);
    probe.waitForBytesWritten(500);
    probe.disconnectFromServer();
    return true;
}

void InstanceGuard::serve(std::function<void()> raise) {
    raise_ = std::move(raise);
    const QString path = name();
    if (path.isEmpty()) {
        std::fprintf(stderr, "plimb: no private folder for the single-instance guard; later copies will "
                             "start beside this one\n");
        return;
    }
    // A copy that crashed leaves its socket file behind; nobody answered on it, so reuse it.
    QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(path);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_.nextPendingConnection()) {
            if (!peerIsUser(peer->socketDescriptor(), user_)) {
                peer->abort();
                peer->deleteLater();
                continue;
            }
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            // A connection alone asks for nothing: only the request line raises the window.
            connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
                if (!peer->canReadLine()) {
                    if (peer->bytesAvailable() > kMaxRequest) peer->abort();
                    return;
                }
                if (peer->readLine(kMaxRequest) == kRaiseRequest && raise_) raise_();
                peer->disconnectFromServer();
            });
        }
    });
}

void InstanceGuard::release() {
    raise_ = nullptr;
    // Closing removes the socket file, so the next copy's probe finds nobody.
    server_.close();
}

} // namespace plimb
