#pragma once
// The line between the program and plimb_router.so, the module that links miniupnpc and
// libnatpmp: PortMapper loads it on its worker thread when first asked to reach the router, and
// talks to the router only through a Mapping (router::PortMapping in the module, portmapping.h,
// which pins down what each call does). Both sides are built from the same tree; the entry's
// name carries the version of this header.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace plimb::router {

enum class Method { None, Upnp, NatPmp };

// "UPnP", "NAT-PMP", or "" for None.
inline const char* methodName(Method m) {
    switch (m) {
    case Method::Upnp:
        return "UPnP";
    case Method::NatPmp:
        return "NAT-PMP";
    case Method::None:
        break;
    }
    return "";
}

struct Limits {
    // How long discovery listens for gateways to announce themselves.
    std::chrono::milliseconds discovery{2000};
    // Everything one open() or externalAddress() may take, discovery included.
    std::chrono::milliseconds total{6000};
    // One close(), and the NAT-PMP wait inside the total.
    std::chrono::milliseconds removal{2000};
    // One HTTP exchange with a UPnP gateway: a router answers in milliseconds, and one that
    // does not leaves the rest of the total to NAT-PMP.
    std::chrono::milliseconds exchange{2000};
};

struct Outcome {
    bool ok = false;
    // Stopped on request: the caller reports nothing.
    bool abandoned = false;
    Method method = Method::None;
    // The router's address on the internet, dotted IPv4, when ok.
    std::string externalAddress;
    // Seconds the router keeps the mapping before it wants it asked again; 0 = until removed.
    std::uint32_t leaseSeconds = 0;
    // When !ok: a readable clause without the final full stop, naming the port where it matters.
    std::string reason;
};

// One conversation with the router, one thread at a time; every call blocks.
class Mapping {
public:
    using StopRequested = std::function<bool()>;

    virtual ~Mapping() = default;
    virtual Outcome open(std::uint16_t port, const StopRequested& stop) = 0;
    virtual Outcome renew(const StopRequested& stop) = 0;
    virtual Outcome externalAddress(const StopRequested& stop) = 0;
    virtual bool close() = 0;
    virtual bool holdsMapping() const = 0;
};

inline constexpr const char* kModule = "plimb_router";
inline constexpr const char* kEntry = "plimb_router_entry_1";
// A new Mapping, the caller's to delete.
using EntryFunction = Mapping* (*)(const Limits& limits);

} // namespace plimb::router
