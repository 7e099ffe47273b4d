#pragma once
// What a hosting copy does besides serving the game: it announces the game on the local network
// (kept in step with the seats taken and whether a game runs) and asks the router to forward the
// game's port, saying in one chat line what came of it. Both end with hosting: the announcement is
// withdrawn and the mapping removed when this object goes, which closing the window (also on
// SIGTERM, SIGHUP and SIGINT) brings about.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "ui/lan/lanannouncer.h"
#include "ui/router/portmapper.h"
#include "ui/server/tserver.h"

namespace plimb {

class HostingServices : public QObject {
    Q_OBJECT
public:
    HostingServices(TServer& server, std::function<void(const std::string&)> chatLine,
                    QObject* parent = nullptr);

    // Announces the game as `hostPlayer`'s and asks the router for the port.
    void start(const QString& hostPlayer);
    // The router's outside address once the port is forwarded; empty before and without one.
    const QString& externalAddress() const { return external_; }

signals:
    void externalAddressChanged(const QString& address);

private:
    LanGameInfo info() const;

    TServer& server_;
    std::function<void(const std::string&)> chatLine_;
    LanAnnouncer announcer_;
    PortMapper mapper_;
    TServer::Table table_;
    QString external_;
};

} // namespace plimb
