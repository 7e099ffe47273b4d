#pragma once
// The IPv6 addresses a player on the internet can reach this computer at, for the Host dialog.
#include <QStringList>

#include <string>
#include <vector>

namespace plimb {

enum class Ipv6Kind {
    Global,        // 2000::/3, the only block handed out for the internet
    UniqueLocal,   // fc00::/7: routed inside a site only
    LinkLocal,     // fe80::/10
    Loopback,      // ::1
    Unspecified,   // ::
    Multicast,     // ff00::/8
    Documentation, // 2001:db8::/32 and 3fff::/20: never on a real network
    Ipv4Mapped,    // ::ffff:0:0/96: an IPv4 address in IPv6 clothes
    Other,         // not IPv6 text, or a block not handed out
};

Ipv6Kind classifyIpv6(const std::string& text);

struct Ipv6Entry {
    std::string text;
    bool temporary = false; // a privacy address that changes by itself within a day or so
    // Its preferred lifetime is over, or its duplicate check is still running or failed.
    bool unusable = false;
};

// The global, usable addresses among `entries`, in order, without repeats. Stable ones
// only when there are any, since a temporary address given to a friend stops working when it
// rotates; when the system keeps only temporary ones, those are still better than none.
// Unique local addresses stay out: they reach only machines in the same site, and those reach
// this one on its LAN address already.
std::vector<std::string> reachableIpv6(const std::vector<Ipv6Entry>& entries);

// reachableIpv6() over the addresses of the interfaces that are up, running and not loopback.
QStringList globalIpv6Addresses();

} // namespace plimb
