#pragma once
// LanLookup: the games that computers on the local network announce (see lanannouncer.h), kept
// up to date through the system's Avahi daemon while it lives. LanBrowser runs it, with its
// own connection to the daemon, on a thread of its own.
//
// A game is reported once it has been resolved (its computer, address and TXT record are known),
// again whenever what is known of it changes, and as gone when its announcement is withdrawn or
// the daemon goes away. Each announcement is reached once per network interface and address
// family; the browser reports one game per announcement, on the address preferredLanGame picks.
//
// A flood of announcements waits its turn in LanSlots. Resolvers are made a few at a time and
// freed from the event loop, not inside Avahi's callbacks: both are blocking calls to the daemon,
// and a daemon busy with a flood answers them slowly, so other events get their turn between.
#include <QObject>
#include <QString>
#include <QTimer>
#include <avahi-client/lookup.h>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/lan/langame.h"
#include "core/lan/lanslots.h"

namespace plimb {

class AvahiSession;

class LanLookup : public QObject {
    Q_OBJECT
public:
    // Starts browsing at once; available() is known when the constructor returns.
    explicit LanLookup(QObject* parent = nullptr);
    ~LanLookup() override;

    // Whether the daemon is there to ask; games are only reported while it is.
    bool available() const;
    // Why not, in words for the player, e.g. "the Avahi service is not running on this computer".
    QString unavailableReason() const;

signals:
    // A game newly found, or one whose facts changed (the same key).
    void gameFound(const plimb::LanGame& game);
    void gameGone(const std::string& key);
    void availableChanged(bool available);

private:
    // One way an announcement is reached: an interface and an address family.
    struct Reach {
        AvahiIfIndex interface;
        AvahiProtocol protocol;
        AvahiServiceResolver* resolver = nullptr;
        std::optional<LanGame> resolved;
    };
    struct Announcement {
        std::string name, domain;
        std::vector<Reach> reaches;
        std::optional<LanGame> reported;
    };

    static void browseCallback(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                               AvahiBrowserEvent event, const char* name, const char* type,
                               const char* domain, AvahiLookupResultFlags flags, void* self);
    static void resolveCallback(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                                AvahiProtocol protocol, AvahiResolverEvent event, const char* name,
                                const char* type, const char* domain, const char* hostName,
                                const AvahiAddress* address, uint16_t port, AvahiStringList* txt,
                                AvahiLookupResultFlags flags, void* self);
    void startBrowsing();
    void stopBrowsing();
    void reached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name, const char* domain);
    void unreached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name, const char* domain);
    Reach* findReach(const std::string& key, AvahiServiceResolver* resolver);
    void resolve(const Announcement& announcement, Reach& reach);
    void retire(AvahiServiceResolver* resolver);
    void freeRetired(std::size_t most = SIZE_MAX);
    void later();
    void pump();
    void expire();
    void settle(const std::string& key);
    void drop(const std::string& key);
    void report(const std::string& key);

    std::unique_ptr<AvahiSession> session_;
    AvahiServiceBrowser* browser_ = nullptr;
    std::map<std::string, Announcement> announcements_; // by key
    LanSlots slots_;
    std::vector<AvahiServiceResolver*> retired_; // done with, freed on the next turn of the loop
    bool pumping_ = false;
    QTimer expiry_; // runs only while a resolution is under way
};

} // namespace plimb
