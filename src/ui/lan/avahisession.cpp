#include "ui/lan/avahisession.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <avahi-common/error.h>

namespace plimb {
namespace {

QString notRunning() {
    return QStringLiteral("the Avahi service is not running on this computer");
}

QString reasonFor(int error) {
    if (error == AVAHI_ERR_NO_DAEMON || error == AVAHI_ERR_DISCONNECTED) return notRunning();
    return QStringLiteral("the Avahi service cannot be reached (%1)")
        .arg(QString::fromUtf8(avahi_strerror(error)));
}

// The file of the system message bus's socket, where the client library will look for it; empty
// when the bus is reached some other way.
QString systemBusSocket() {
    QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    if (address.isEmpty()) address = QStringLiteral("unix:path=/var/run/dbus/system_bus_socket");
    const QString first = address.section(QLatin1Char(';'), 0, 0);
    const QString key = QStringLiteral("unix:path=");
    if (!first.startsWith(key)) return {};
    return first.mid(key.size()).section(QLatin1Char(','), 0, 0);
}

} // namespace

AvahiSession::AvahiSession(QObject* parent) : QObject(parent) {
    connectClient();
}

AvahiSession::~AvahiSession() {
    if (client_ != nullptr) avahi_client_free(client_);
}

void AvahiSession::connectClient() {
    int error = AVAHI_OK;
    // Without the daemon the client waits for it to appear, instead of failing.
    AvahiClient* made =
        avahi_client_new(poll_.api(), AVAHI_CLIENT_NO_FAIL, &AvahiSession::clientCallback, this, &error);
    if (made == nullptr) {
        // Only a missing or refusing message bus gets here; the callback may have seen the client.
        client_ = nullptr;
        setUsable(false, reasonFor(error));
        watchForTheBus();
        return;
    }
    client_ = made;
    busWatcher_.reset();
}

void AvahiSession::clientCallback(AvahiClient* client, AvahiClientState state, void* data) {
    auto* self = static_cast<AvahiSession*>(data);
    // The first calls come from inside avahi_client_new, before it has returned the client.
    self->client_ = client;
    switch (state) {
    case AVAHI_CLIENT_S_RUNNING:
        self->setUsable(true, {});
        emit self->running();
        break;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
        self->setUsable(true, {});
        emit self->registering();
        break;
    case AVAHI_CLIENT_CONNECTING:
        self->setUsable(false, notRunning());
        break;
    case AVAHI_CLIENT_FAILURE: {
        const int error = avahi_client_errno(client);
        self->setUsable(false, reasonFor(error));
        // The daemon or the bus went away: a new client waits for them to come back. The client
        // cannot be freed from inside its own callback. Any other failure is for good, and
        // retrying it at once would only spin.
        if (error == AVAHI_ERR_DISCONNECTED && !self->reconnecting_) {
            self->reconnecting_ = true;
            QTimer::singleShot(0, self, &AvahiSession::reconnect);
        }
        break;
    }
    }
}

void AvahiSession::reconnect() {
    reconnecting_ = false;
    emit lost();
    if (client_ != nullptr) avahi_client_free(client_);
    client_ = nullptr;
    connectClient();
}

void AvahiSession::setUsable(bool usable, const QString& reason) {
    reason_ = reason;
    if (usable_ == usable) return;
    usable_ = usable;
    emit availableChanged(usable_);
}

void AvahiSession::watchForTheBus() {
    const QString socket = systemBusSocket();
    const QString folder = QFileInfo(socket).absolutePath();
    if (socket.isEmpty() || !QFileInfo(folder).isDir()) return;
    busWatcher_ = std::make_unique<QFileSystemWatcher>(QStringList{folder});
    connect(busWatcher_.get(), &QFileSystemWatcher::directoryChanged, this, [this, socket] {
        if (!QFileInfo::exists(socket)) return;
        // Out of the watcher's own signal: connecting replaces the watcher.
        QTimer::singleShot(0, this, [this] {
            if (client_ == nullptr && busWatcher_) connectClient();
        });
    });
}

} // namespace plimb
