#pragma once
// LanAnnouncer: tells the local network, through the system's Avahi daemon, that this computer
// hosts a game, so that the Join dialogs of the other computers list it. The service is a
// _plimb._tcp on the game port, named after the hosting player, with the TXT keys version,
// seats and game that lan/langame.h describes.
//
// Announcing is a courtesy: without the daemon, or without plimb_lan.so, nothing is announced and
// nothing else changes (available() says so); a daemon that starts later gets the announcement
// then. The module is loaded by the first announce(), so a copy that never hosts never loads it.
#include <QObject>
#include <QString>
#include <memory>

#include "ui/lan/lanmodule.h"

namespace plimb {

class LanAnnouncer : public QObject, private lanmodule::AnnouncerEvents {
    Q_OBJECT
public:
    explicit LanAnnouncer(QObject* parent = nullptr);
    ~LanAnnouncer() override; // withdraws

    // Starts announcing (or renames the announcement) under the player's name.
    void announce(const QString& hostPlayer, const LanGameInfo& info);
    // New facts for the TXT record of the announcement; ignored while nothing is announced.
    void update(const LanGameInfo& info);
    // Takes the announcement back from the network.
    void withdraw();

    // Whether the daemon is there to announce to (false while nothing is announced).
    bool available() const;
    // The instance name in use, after any collision; empty while nothing is announced.
    QString instanceName() const;

signals:
    // The network has accepted the announcement under this name.
    void announced(const QString& instanceName);
    void availableChanged(bool available);

private:
    void nameAccepted(const QString& instanceName) override;
    void daemonAvailable(bool available) override;

    std::unique_ptr<lanmodule::Announcer> impl_;
};

} // namespace plimb
