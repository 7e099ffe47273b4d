#pragma once
// The line between the program and plimb_lan.so, the module that links the Avahi client: the
// program's LanAnnouncer and LanBrowser load it when first used and reach it only through these
// classes, so a copy that never hosts or joins never loads Avahi or the message bus library.
// Both sides are built from the same tree; the entry's name carries the version of this header.
#include <QString>
#include <string>

#include "core/lan/langame.h"

namespace plimb {

struct LanGameInfo {
    QString version;
    int seatsTaken = 1; // the host's own seat included
    bool running = false;
};

namespace lanmodule {

// Called on the thread that made the announcer.
class AnnouncerEvents {
public:
    virtual void nameAccepted(const QString& instanceName) = 0;
    virtual void daemonAvailable(bool available) = 0;

protected:
    ~AnnouncerEvents() = default;
};

// What LanAnnouncer promises, made on the daemon.
class Announcer {
public:
    virtual ~Announcer() = default;
    virtual void announce(const QString& hostPlayer, const LanGameInfo& info) = 0;
    virtual void update(const LanGameInfo& info) = 0;
    virtual void withdraw() = 0;
    virtual bool available() const = 0;
    virtual QString instanceName() const = 0;
};

// Called on the thread that made the lookup.
class LookupEvents {
public:
    virtual void found(const LanGame& game) = 0;
    virtual void gone(const std::string& key) = 0;
    virtual void daemonAvailable(bool available, const QString& reason) = 0;

protected:
    ~LookupEvents() = default;
};

// Browses from construction on; see lanlookup.h.
class Lookup {
public:
    virtual ~Lookup() = default;
    virtual bool available() const = 0;
    virtual QString unavailableReason() const = 0;
};

struct Entry {
    Announcer* (*makeAnnouncer)(AnnouncerEvents& events);
    Lookup* (*makeLookup)(LookupEvents& events);
};

inline constexpr const char* kModule = "plimb_lan";
inline constexpr const char* kEntry = "plimb_lan_entry_1";
using EntryFunction = const Entry* (*)();

} // namespace lanmodule
} // namespace plimb
