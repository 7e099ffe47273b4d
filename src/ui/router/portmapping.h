#pragma once
// Asks the home router to forward a TCP port to this computer: UPnP IGD first, NAT-PMP when no
// IGD answers. Plain C++ over miniupnpc's discovery and description parser, libnatpmp and HTTP of
// its own, no Qt: every call blocks until the router answered or its time ran out, however slowly
// the router talks, so callers run it on a thread of their own. It is the Mapping of
// plimb_router.so (mapping.h).
#include <cstdint>
#include <optional>
#include <string>

#include "ui/router/mapping.h"

namespace plimb::router {

// True when `dotted` is an IPv4 address that the internet routes to, not private, shared,
// loopback, link-local, multicast or unspecified: a router whose own outside address is one of
// those stands behind another router, and a forward on it alone lets nobody in.
bool isPublicIpv4(const std::string& dotted);

// One conversation with the router. Not thread-safe: one thread at a time. It remembers the
// gateway that answered, so a mapping after a probe needs no second discovery, and what it
// mapped, so close() can take it back. The destructor leaves the router alone: call close().
class PortMapping final : public Mapping {
public:
    explicit PortMapping(Limits limits = {});
    ~PortMapping() override;
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    // Forwards outside TCP `port` to the same port of this computer, for as long as the router
    // allows. `stop` is asked between the router's answers; a mapping already made when it says
    // yes stays held, for close() to remove.
    Outcome open(std::uint16_t port, const StopRequested& stop) override;
    // Asks the held NAT-PMP mapping to be kept for another lease. Fails when nothing is held.
    Outcome renew(const StopRequested& stop) override;
    // Only the router's outside address; maps nothing.
    Outcome externalAddress(const StopRequested& stop) override;
    // Removes what open() made, within Limits::removal. Forgets it either way, so a second call
    // and a call with nothing mapped do nothing. True when nothing of ours is left or the router
    // confirmed the removal.
    bool close() override;
    bool holdsMapping() const override { return held_.method != Method::None; }

private:
    struct Igd {
        std::string controlUrl, serviceType, lanAddress;
    };
    struct Held {
        Method method = Method::None;
        std::uint16_t port = 0;
        std::uint32_t gateway = 0; // NAT-PMP: the router that holds it, network byte order
        Igd igd;                   // UPnP: the gateway that holds it
    };
    using Clock = std::chrono::steady_clock;

    // Only a gateway on the default route, with a control URL on itself, is taken.
    std::optional<Igd> discover(Clock::time_point deadline, const StopRequested& stop) const;
    static std::optional<Igd> describe(const std::string& descriptionUrl, unsigned scope,
                                       Clock::time_point deadline, const StopRequested& stop);
    Outcome ask(std::uint16_t port, const StopRequested& stop);
    Outcome upnpOpen(const Igd& igd, std::uint16_t port, Clock::time_point deadline,
                     const StopRequested& stop);
    Outcome natpmp(std::uint16_t port, std::uint32_t lifetime, Clock::time_point deadline,
                   const StopRequested& stop, std::uint32_t gateway);

    Limits limits_;
    std::optional<Igd> igd_;
    Held held_;
};

} // namespace plimb::router
