#pragma once
// What the program believes of the devices on its LAN that claim to be the router. Any computer
// there can answer the router discovery and any router can write what it likes into its
// description, so a gateway is taken only from the default route and only where it says it is.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plimb::router {

// The parts of an "http://host[:port][/path]" URL. Only literal IPv4 hosts are taken: a name
// would need a lookup that nothing bounds, and a router is addressed by number anyway.
struct HttpUrl {
    std::string host;
    std::uint16_t port = 80;
    std::string path = "/";
    bool operator==(const HttpUrl&) const = default;
};
std::optional<HttpUrl> parseHttpUrl(std::string_view url);

// Exactly four decimal parts of 0-255 with dots between, without leading zeros.
bool isIpv4Address(std::string_view text);

// The gateway of the IPv4 default route in the text of /proc/net/route, dotted; the one of the
// lowest metric when there are several; empty when there is none.
std::string defaultGateway(std::string_view procNetRoute);

// A device found by discovery is believed only when its description lies on the default route's
// gateway: it is the router, the one machine every packet to the internet passes anyway.
bool trustedDescriptionUrl(std::string_view descriptionUrl, std::string_view gateway);

// Router requests go only to the description's own host, never to this computer (loopback) and
// never to the game's own port, where they would take a seat at the table.
bool acceptableControlUrl(std::string_view controlUrl, std::string_view descriptionUrl,
                          std::uint16_t gamePort);

// The most of one router reply that is read, headers included: a gateway's description is a few
// kilobytes and its answers less; what is longer is no router's.
inline constexpr std::size_t kMaxReplyBytes = 256 * 1024;

} // namespace plimb::router
