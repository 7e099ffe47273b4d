#include "ui/app/instanceguard.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app/invitelink.h"

namespace plimb {
namespace {

// A request is one line: "raise" alone, or "link " and the link.
constexpr char kRaiseRequest[] = "raise\n";
constexpr char kLinkRequest[] = "link ";
// Room for one byte more than an invitation link may have, so a link that was too long arrives
// as one that is refused for its length.
constexpr qint64 kMaxRequest = qint64(sizeof kLinkRequest - 1 + kMaxInviteBytes + 1 + 1);
// A copy of ours writes its request at once; a connection that takes longer is not one.
constexpr int kRequestMilliseconds = 3000;
// Later copies come one at a time; more connections than this at once are not copies of ours.
constexpr qsizetype kMaxPeers = 8;

QByteArray linkRequest(const QString& link) {
    QByteArray text = link.toUtf8().left(qsizetype(kMaxInviteBytes) + 1);
    // A line end would cut the request short; as a blank the link is refused for containing one,
    // or, at either end, dropped as the reader drops blanks there.
    text.replace('\n', ' ').replace('\r', ' ');
    return kLinkRequest + text + '\n';
}

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

bool InstanceGuard::otherInstanceRunning(const QString& link) {
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
    probe.write(link.isEmpty() ? QByteArray(kRaiseRequest) : linkRequest(link));
    probe.waitForBytesWritten(500);
    probe.disconnectFromServer();
    return true;
}

void InstanceGuard::serve(std::function<void(const QString& link)> request) {
    request_ = std::move(request);
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
            const bool crowded =
                server_.findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly).size() > kMaxPeers;
            if (crowded || !peerIsUser(peer->socketDescriptor(), user_)) {
                peer->abort();
                peer->deleteLater();
                continue;
            }
            answer(peer);
        }
    });
}

void InstanceGuard::answer(QLocalSocket* peer) {
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    peer->setReadBufferSize(kMaxRequest);
    auto* deadline = new QTimer(peer);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, peer, [peer] {
        peer->abort();
        peer->deleteLater();
    });
    deadline->start(kRequestMilliseconds);
    // A connection alone asks for nothing: only a whole request line does.
    connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
        if (!peer->canReadLine()) {
            if (peer->bytesAvailable() >= kMaxRequest) peer->abort();
            return;
        }
        const QByteArray line = peer->readLine(kMaxRequest + 1);
        peer->disconnectFromServer();
        // A copy, since what it runs may let go of the guard (a relaunch to join the link's game).
        const auto request = request_;
        if (!request) return;
        if (line == kRaiseRequest)
            request({});
        else if (line.startsWith(kLinkRequest))
            request(QString::fromUtf8(line.sliced(sizeof kLinkRequest - 1).chopped(1)));
    });
}

void InstanceGuard::release() {
    request_ = nullptr;
    // Closing removes the socket file, so the next copy's probe finds nobody.
    server_.close();
}

} // namespace plimb
