#pragma once
// LanBrowser: the games that computers on the local network announce, for the Join dialog.
//
// Asking the Avahi daemon waits for its answer, and a daemon busy with a flood of announcements
// takes a large part of a second for one; so the asking (LanLookup, with its own connection to
// the daemon) happens on a thread of its own, and only what it finds comes to this thread.
#include <QObject>
#include <QString>
#include <QThread>
#include <string>

#include "lan/langame.h"

namespace plimb {

class LanLookup;

class LanBrowser : public QObject {
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
    QThread thread_;
    QObject* anchor_;             // lives on the thread, for running code there
    LanLookup* lookup_ = nullptr; // made, used and deleted on the thread
    bool available_ = false;
    QString reason_;
};

} // namespace plimb
