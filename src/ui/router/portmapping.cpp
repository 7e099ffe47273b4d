#include "ui/router/portmapping.h"

#include "core/net/protocol.h"
#include "ui/router/routerhttp.h"

#define ENABLE_STRNATPMPERR
#include <natpmp.h>

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnperrors.h>

#include <arpa/inet.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

namespace plimb::router {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kDescription = "Plimb";
// What a NAT-PMP mapping asks for; the router may grant less, and renew() asks again in time.
constexpr std::uint32_t kNatpmpLifetime = 7200;
// UPnP error for an outside port already forwarded somewhere.
constexpr int kConflictInMappingEntry = 718;
constexpr int kNoSuchEntryInArray = 714;
// Our own code for a NAT-PMP wait that ran out; the library's codes are all above -100.
constexpr int kNatpmpTimedOut = -1000;

// A gateway answers discovery for one of these; asking for all of them at once keeps the whole
// discovery within one delay instead of one delay per kind.
const char* const kGatewayTypes[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                     "urn:schemas-upnp-org:service:WANIPConnection:1",
                                     "urn:schemas-upnp-org:service:WANPPPConnection:1", nullptr};

std::string request(std::uint16_t port) {
    return port == 0 ? "the request for its outside address"
                     : "the request to open TCP port " + std::to_string(port);
}

Outcome failure(std::string reason) {
    Outcome o;
    o.reason = std::move(reason);
    return o;
}

Outcome abandoned() {
    Outcome o;
    o.abandoned = true;
    return o;
}

Outcome noAnswer(std::uint16_t port) {
    return failure("No router answered " + request(port));
}

Outcome behindAnotherRouter(std::uint16_t port, const std::string& outside) {
    const std::string why = "the router's own outside address " + outside +
                            " is private (another router stands between it and the internet)";
    if (port == 0) return failure("T" + why.substr(1));
    return failure("TCP port " + std::to_string(port) + " cannot be opened from here, as " + why);
}

// An outside address that is not an IPv4 address is no use to anyone and is not shown.
Outcome noUsableAddress(std::uint16_t port) {
    return failure("The router answered " + request(port) + " without a usable outside address");
}

Outcome upnpRefused(std::uint16_t port, int code) {
    const char* name = strupnperror(code);
    std::string detail = "UPnP error " + std::to_string(code);
    if (name != nullptr) detail += std::string(": ") + name;
    return failure("The router refused " + request(port) + " (" + detail + ")");
}

Outcome natpmpFailure(std::uint16_t port, int code) {
    switch (code) {
    case NATPMP_ERR_NOTAUTHORIZED:
    case NATPMP_ERR_NETWORKFAILURE:
    case NATPMP_ERR_OUTOFRESOURCES:
    case NATPMP_ERR_UNSUPPORTEDOPCODE:
    case NATPMP_ERR_UNSUPPORTEDVERSION:
    case NATPMP_ERR_UNDEFINEDERROR:
        return failure("The router refused " + request(port) + " (NAT-PMP: " + strnatpmperr(code) + ")");
    default: // silence, an unreachable port, no default gateway: nobody there speaks NAT-PMP
        return noAnswer(port);
    }
}

// Frees what miniupnpc hands out, whichever way discovery ends.
struct Devices {
    UPNPDev* list = nullptr;
    ~Devices() { freeUPNPDevlist(list); }
};

struct Urls {
    UPNPUrls urls{};
    ~Urls() { FreeUPNPUrls(&urls); }
};

// The gateway of this thread's own network namespace, which is the process's unless a test
// gave the thread one of its own.
std::string routeGateway() {
    std::ifstream f("/proc/thread-self/net/route");
    std::string text;
    char buffer[4096];
    while (text.size() < kMaxReplyBytes && f.read(buffer, sizeof buffer).gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(f.gcount()));
    return defaultGateway(text);
}

std::string argument(const char* name, const std::string& value) {
    return std::string("<") + name + ">" + value + "</" + name + ">";
}

std::string mappingKey(const std::string& port) {
    return argument("NewRemoteHost", "") + argument("NewExternalPort", port) + argument("NewProtocol", "TCP");
}

// Waits for the answer to the request just sent, resending on the library's schedule, until
// `deadline`. Wakes at least every 200 ms so a stop request is seen promptly. poll, not select:
// a program with many files open may get a socket number beyond what an fd_set holds.
int awaitNatpmp(natpmp_t& n, natpmpresp_t& response, Clock::time_point deadline,
                const PortMapping::StopRequested& stop) {
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || stop()) return kNatpmpTimedOut;
        timeval retry{};
        if (getnatpmprequesttimeout(&n, &retry) < 0) return NATPMP_ERR_NOPENDINGREQ;
        const long long retryMs = retry.tv_sec * 1000LL + retry.tv_usec / 1000;
        pollfd readable{n.s, POLLIN, 0};
        if (poll(&readable, 1,
                 static_cast<int>(
                     std::clamp<long long>(retryMs, 0, std::min<long long>(left.count(), 200)))) < 0 &&
            errno != EINTR)
            return NATPMP_ERR_SOCKETERROR;
        const int rc = readnatpmpresponseorretry(&n, &response);
        // Another sender's datagram is not the answer: keep waiting for the gateway's.
        if (rc != NATPMP_TRYAGAIN && rc != NATPMP_ERR_WRONGPACKETSOURCE) return rc;
    }
}

struct NatpmpSession {
    natpmp_t n{};
    bool open = false;
    explicit NatpmpSession(std::uint32_t gateway) {
        open = initnatpmp(&n, gateway != 0 ? 1 : 0, gateway) >= 0;
    }
    ~NatpmpSession() {
        if (open) closenatpmp(&n);
    }
};

} // namespace

bool isPublicIpv4(const std::string& dotted) {
    in_addr a{};
    if (inet_pton(AF_INET, dotted.c_str(), &a) != 1) return false;
    const std::uint32_t v = ntohl(a.s_addr);
    struct Block {
        std::uint32_t base;
        int bits;
    };
    static constexpr Block kNotRouted[] = {
        {0x00000000, 8},  {0x0A000000, 8},  {0x64400000, 10}, {0x7F000000, 8},
        {0xA9FE0000, 16}, {0xAC100000, 12}, {0xC0A80000, 16}, {0xE0000000, 3},
    };
    return std::none_of(std::begin(kNotRouted), std::end(kNotRouted),
                        [v](const Block& b) { return (v >> (32 - b.bits)) == (b.base >> (32 - b.bits)); });
}

PortMapping::PortMapping(Limits limits) : limits_(limits) {}

PortMapping::~PortMapping() = default;

std::optional<PortMapping::Igd> PortMapping::discover(Clock::time_point deadline,
                                                      const StopRequested& stop) const {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    const int delay = static_cast<int>(std::min(limits_.discovery, left).count());
    if (delay <= 0) return std::nullopt;
    Devices d;
    int error = 0;
    d.list =
        upnpDiscoverDevices(kGatewayTypes, delay, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error, 1);
    const std::string gateway = d.list != nullptr ? routeGateway() : std::string();
    for (const UPNPDev* dev = d.list; dev != nullptr && !stop(); dev = dev->pNext) {
        if (!trustedDescriptionUrl(dev->descURL, gateway)) continue;
        if (auto igd = describe(dev->descURL, dev->scope_id,
                                std::min(deadline, Clock::now() + limits_.exchange), stop))
            return igd;
    }
    return std::nullopt;
}

std::optional<PortMapping::Igd> PortMapping::describe(const std::string& descriptionUrl, unsigned scope,
                                                      Clock::time_point deadline, const StopRequested& stop) {
    const auto url = parseHttpUrl(descriptionUrl);
    if (!url) return std::nullopt;
    const Exchange e = exchange(*url,
                                "GET " + url->path + " HTTP/1.1\r\nHost: " + url->host + ":" +
                                    std::to_string(url->port) + "\r\nConnection: close\r\n\r\n",
                                deadline, stop);
    if (e.end != Exchange::End::Answered || e.reply.status != 200) return std::nullopt;
    IGDdatas data{};
    parserootdesc(e.reply.body.data(), static_cast<int>(e.reply.body.size()), &data);
    if (data.first.servicetype[0] == '\0') return std::nullopt;
    Urls u;
    GetUPNPUrls(&u.urls, &data, descriptionUrl.c_str(), scope);
    if (u.urls.controlURL == nullptr || !acceptableControlUrl(u.urls.controlURL, descriptionUrl, kGamePort))
        return std::nullopt;
    return Igd{u.urls.controlURL, data.first.servicetype, e.localAddress};
}

Outcome PortMapping::open(std::uint16_t port, const StopRequested& stop) {
    if (holdsMapping() && held_.port != port) close();
    return ask(port, stop);
}

Outcome PortMapping::externalAddress(const StopRequested& stop) {
    return ask(0, stop);
}

// Port 0 asks only the outside address.
Outcome PortMapping::ask(std::uint16_t port, const StopRequested& stop) {
    const auto deadline = Clock::now() + limits_.total;
    // A remembered gateway that no longer answers is forgotten and looked for once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool remembered = igd_.has_value();
        if (!igd_) igd_ = discover(deadline, stop);
        if (stop()) return abandoned();
        if (!igd_) break;
        Outcome o = upnpOpen(*igd_, port, deadline, stop);
        if (o.ok || o.abandoned || !o.reason.empty()) return o;
        igd_.reset();
        if (!remembered) break;
    }
    return natpmp(port, kNatpmpLifetime, deadline, stop, 0);
}

// An Outcome with neither ok nor a reason means the gateway did not answer at all.
Outcome PortMapping::upnpOpen(const Igd& igd, std::uint16_t port, Clock::time_point deadline,
                              const StopRequested& stop) {
    const auto call = [&](const char* action, const std::string& arguments) {
        return soap(igd.controlUrl, igd.serviceType, action, arguments,
                    std::min(deadline, Clock::now() + limits_.exchange), stop);
    };
    SoapAnswer a = call("GetExternalIPAddress", "");
    if (stop()) return abandoned();
    if (a.code < 0) return {};
    if (a.code != 0) return upnpRefused(port, a.code);
    const std::optional<std::string> outside = elementText(a.body, "NewExternalIPAddress");
    if (!outside || !isIpv4Address(*outside)) return noUsableAddress(port);
    if (!isPublicIpv4(*outside)) return behindAnotherRouter(port, *outside);
    Outcome o;
    o.ok = true;
    o.method = Method::Upnp;
    o.externalAddress = *outside;
    if (port == 0) return o;

    const std::string p = std::to_string(port);
    // Lease 0: kept until removed (IGDv2 routers make that a week), so a game needs no renewal.
    a = call("AddPortMapping",
             mappingKey(p) + argument("NewInternalPort", p) + argument("NewInternalClient", igd.lanAddress) +
                 argument("NewEnabled", "1") + argument("NewPortMappingDescription", kDescription) +
                 argument("NewLeaseDuration", "0"));
    if (a.code == kConflictInMappingEntry) {
        // Some routers refuse to overwrite even a mapping to the same computer, such as the one
        // a crashed session left behind; that one is ours to use.
        const SoapAnswer q = call("GetSpecificPortMappingEntry", mappingKey(p));
        if (q.code != 0) return upnpRefused(port, a.code);
        const std::string client = elementText(q.body, "NewInternalClient").value_or("");
        if (igd.lanAddress != client || elementText(q.body, "NewInternalPort") != p)
            return failure("The router already forwards TCP port " + p + " to another computer" +
                           (isIpv4Address(client) ? " (" + client + ")" : std::string()));
        a.code = 0;
    }
    // Held before anything else, so that a stop now still leaves it to close() to remove.
    if (a.code == 0) held_ = Held{Method::Upnp, port, 0, igd};
    if (stop()) return abandoned();
    if (a.code < 0) return failure("The router stopped answering " + request(port));
    if (a.code != 0) return upnpRefused(port, a.code);
    return o;
}

Outcome PortMapping::natpmp(std::uint16_t port, std::uint32_t lifetime, Clock::time_point deadline,
                            const StopRequested& stop, std::uint32_t gateway) {
    NatpmpSession s(gateway);
    if (!s.open) return noAnswer(port);
    natpmpresp_t r{};
    int rc = sendpublicaddressrequest(&s.n);
    if (rc >= 0) rc = awaitNatpmp(s.n, r, deadline, stop);
    if (stop()) return abandoned();
    if (rc < 0) return natpmpFailure(port, rc);
    char outside[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &r.pnu.publicaddress.addr, outside, sizeof outside);
    if (!isPublicIpv4(outside)) return behindAnotherRouter(port, outside);
    Outcome o;
    o.ok = true;
    o.method = Method::NatPmp;
    o.externalAddress = outside;
    if (port == 0) return o;

    rc = sendnewportmappingrequest(&s.n, NATPMP_PROTOCOL_TCP, port, port, lifetime);
    if (rc >= 0) rc = awaitNatpmp(s.n, r, deadline, stop);
    if (rc < 0) return stop() ? abandoned() : natpmpFailure(port, rc);
    // NAT-PMP names a mapping by its inside port; removal asks the same router again.
    held_ = Held{Method::NatPmp, port, s.n.gateway, {}};
    const std::uint16_t given = r.pnu.newportmapping.mappedpublicport;
    if (given != port) {
        // Players are told to join on the game's port: another outside port is no use to them.
        close();
        return failure("The router offered outside port " + std::to_string(given) + " instead of TCP port " +
                       std::to_string(port));
    }
    if (stop()) return abandoned();
    o.leaseSeconds = r.pnu.newportmapping.lifetime;
    return o;
}

Outcome PortMapping::renew(const StopRequested& stop) {
    // UPnP mappings are made without a lease: only NAT-PMP ones need asking again.
    if (held_.method != Method::NatPmp) return failure("No port mapping to renew");
    return natpmp(held_.port, kNatpmpLifetime, Clock::now() + limits_.total, stop, held_.gateway);
}

bool PortMapping::close() {
    const Held h = std::exchange(held_, Held{});
    switch (h.method) {
    case Method::None:
        return true;
    case Method::Upnp: {
        const int rc =
            soap(h.igd.controlUrl, h.igd.serviceType, "DeletePortMapping", mappingKey(std::to_string(h.port)),
                 Clock::now() + limits_.removal, [] { return false; })
                .code;
        return rc == 0 || rc == kNoSuchEntryInArray;
    }
    case Method::NatPmp: {
        NatpmpSession s(h.gateway);
        if (!s.open) return false;
        natpmpresp_t r{};
        // Lifetime 0 with outside port 0 removes the mapping of this inside port.
        int rc = sendnewportmappingrequest(&s.n, NATPMP_PROTOCOL_TCP, h.port, 0, 0);
        if (rc >= 0) rc = awaitNatpmp(s.n, r, Clock::now() + limits_.removal, [] { return false; });
        return rc >= 0;
    }
    }
    return false;
}

} // namespace plimb::router
