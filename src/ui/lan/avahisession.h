#pragma once
// One connection to the system's Avahi daemon, kept for as long as it is wanted: it survives the
// daemon starting late, stopping and starting again, and the message bus itself appearing late.
// The announcer and the browser build their Avahi objects on it when it runs and drop them when
// it is lost.
#include <QObject>
#include <QString>
#include <avahi-client/client.h>
#include <memory>

#include "ui/lan/avahipoll.h"

class QFileSystemWatcher;

namespace plimb {

class AvahiSession : public QObject {
    Q_OBJECT
public:
    // Connects at once, so available() is known when the constructor returns.
    explicit AvahiSession(QObject* parent = nullptr);
    ~AvahiSession() override;

    // The client while the daemon serves it, null otherwise.
    AvahiClient* client() const { return usable_ ? client_ : nullptr; }
    bool available() const { return usable_; }
    // Why not, in words for the player (empty while available).
    QString unavailableReason() const { return reason_; }
    const AvahiQtPoll& poll() const { return poll_; }

signals:
    void availableChanged(bool available);
    // The daemon serves the client: make browsers, add services.
    void running();
    // The daemon is choosing this computer's host name anew: services must be taken back and
    // added again once it runs.
    void registering();
    // The client is about to be freed: free what was made on it.
    void lost();

private:
    static void clientCallback(AvahiClient* client, AvahiClientState state, void* self);
    void connectClient();
    void reconnect();
    void setUsable(bool usable, const QString& reason);
    void watchForTheBus();

    AvahiQtPoll poll_;
    AvahiClient* client_ = nullptr;
    bool usable_ = false;
    bool reconnecting_ = false;
    QString reason_;
    std::unique_ptr<QFileSystemWatcher> busWatcher_;
};

} // namespace plimb
