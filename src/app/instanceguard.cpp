#include "app/instanceguard.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QLocalSocket>
#include <unistd.h>

namespace plimb {

InstanceGuard::InstanceGuard(QObject* parent) : QObject(parent) {}

QString InstanceGuard::name() {
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qgetenv("DISPLAY");
    const QByteArray hash = QCryptographicHash::hash(display, QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("24oxev-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool InstanceGuard::otherInstanceRunning() {
    QLocalSocket probe;
    probe.connectToServer(name());
    if (!probe.waitForConnected(500)) return false;
    probe.write("raise\n");
    probe.waitForBytesWritten(500);
    probe.disconnectFromServer();
    return true;
}

void InstanceGuard::serve(std::function<void()> raise) {
    raise_ = std::move(raise);
    // A copy that crashed leaves its socket file behind; nobody answered on it, so reuse it.
    QLocalServer::removeServer(name());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name());
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_.nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            if (raise_) raise_();
        }
    });
}

void InstanceGuard::release() {
    raise_ = nullptr;
    // Closing removes the socket file, so the next copy's probe finds nobody.
    server_.close();
}

} // namespace plimb
