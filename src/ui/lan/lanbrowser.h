#pragma once
// LanBrowser: the games that computers on the local network announce, for the Join dialog.
//
// Asking the Avahi daemon waits for its answer, and a daemon busy with a flood of announcements
// takes a large part of a second for one; so the asking (LanLookup, with its own connection to
// the daemon) happens on a thread of its own, and only what it finds comes to this thread. The
// asking is done by plimb_lan.so, loaded there when the first browser starts: without it no game
// is listed and unavailableReason() says why.
#include <QObject>
#include <QString>
#include <QThread>
#include <string>

#include "ui/lan/lanmodule.h"

namespace plimb {

class LanBrowser : public QObject, private lanmodule::LookupEvents {
    Q_OBJECT
public:
    // Starts browsing at once; available() is known when the constructor returns.
    explicit LanBrowser(QObject* parent = nullptr);
    ~LanBrowser() override;

    // Whether the daemon is there to ask; games are only reported while it is.
    bool available() const { return available_; }
    // Why not, in words for the player, e.g. "the Avahi service is not running on this computer".
    QString unavailableReason() const { return reason_; }

signals:
    // A game newly found, or one whose facts changed (the same key).
    void gameFound(const plimb::LanGame& game);
    void gameGone(const std::string& key);
    void availableChanged(bool available);

private:
    // On the thread: what the lookup reports is passed on to this one.
    void found(const LanGame& game) override;
    void gone(const std::string& key) override;
    void daemonAvailable(bool available, const QString& reason) override;

    QThread thread_;
    QObject* anchor_;                     // lives on the thread, for running code there
    lanmodule::Lookup* lookup_ = nullptr; // made, used and deleted on the thread
    bool available_ = false;
    QString reason_;
};

} // namespace plimb
