#include "lan/lanbrowser.h"

#include <QTimer>
#include <avahi-common/address.h>
#include <avahi-common/domain.h>
#include <avahi-common/error.h>
#include <avahi-common/strlst.h>

#include <net/if.h>

#include <algorithm>

#include "lan/avahisession.h"

namespace plimb {
namespace {

constexpr std::size_t kMaxAnnouncements = 256;

const std::string& serviceType() {
    static const std::string type(kLanServiceType);
    return type;
}

std::string keyOf(const char* name, const char* domain) {
    char joined[AVAHI_DOMAIN_NAME_MAX];
    if (avahi_service_name_join(joined, sizeof joined, name, serviceType().c_str(), domain) < 0)
        return std::string(name) + '\n' + domain;
    return joined;
}

// A link-local IPv6 address means something only together with the interface it was seen on.
std::string addressText(const AvahiAddress& address, AvahiIfIndex interface) {
    char text[AVAHI_ADDRESS_STR_MAX];
    if (avahi_address_snprint(text, sizeof text, &address) == nullptr) return {};
    std::string out = text;
    const uint8_t* bytes = address.data.ipv6.address;
    if (address.proto == AVAHI_PROTO_INET6 && bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80) {
        char name[IF_NAMESIZE];
        if (interface >= 0 && if_indextoname(static_cast<unsigned>(interface), name) != nullptr)
            out += std::string("%") + name;
    }
    return out;
}

std::vector<std::string> txtEntries(AvahiStringList* txt) {
    std::vector<std::string> entries;
    for (AvahiStringList* entry = txt; entry != nullptr; entry = avahi_string_list_get_next(entry))
        entries.emplace_back(reinterpret_cast<const char*>(avahi_string_list_get_text(entry)),
                             avahi_string_list_get_size(entry));
    // Avahi keeps a TXT record last entry first.
    std::reverse(entries.begin(), entries.end());
    return entries;
}

} // namespace

LanBrowser::LanBrowser(QObject* parent) : QObject(parent), session_(std::make_unique<AvahiSession>()) {
    connect(session_.get(), &AvahiSession::running, this, &LanBrowser::startBrowsing);
    connect(session_.get(), &AvahiSession::lost, this, &LanBrowser::stopBrowsing);
    connect(session_.get(), &AvahiSession::availableChanged, this, [this](bool available) {
        if (!available) stopBrowsing();
        emit availableChanged(available);
    });
    startBrowsing();
}

LanBrowser::~LanBrowser() {
    for (auto& [key, announcement] : announcements_)
        for (Reach& reach : announcement.reaches)
            if (reach.resolver != nullptr) avahi_service_resolver_free(reach.resolver);
    if (browser_ != nullptr) avahi_service_browser_free(browser_);
}

bool LanBrowser::available() const {
    return session_->available();
}

QString LanBrowser::unavailableReason() const {
    return session_->unavailableReason();
}

void LanBrowser::startBrowsing() {
    AvahiClient* client = session_->client();
    if (client == nullptr || browser_ != nullptr) return;
    browser_ = avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, serviceType().c_str(),
                                         nullptr, AvahiLookupFlags(0), &LanBrowser::browseCallback, this);
    if (browser_ == nullptr)
        qWarning("Plimb: games on the network cannot be listed: %s",
                 avahi_strerror(avahi_client_errno(client)));
}

void LanBrowser::stopBrowsing() {
    std::vector<std::string> gone;
    for (auto& [key, announcement] : announcements_) {
        for (Reach& reach : announcement.reaches)
            if (reach.resolver != nullptr) avahi_service_resolver_free(reach.resolver);
        if (announcement.reported) gone.push_back(key);
    }
    announcements_.clear();
    if (browser_ != nullptr) avahi_service_browser_free(browser_);
    browser_ = nullptr;
    for (const std::string& key : gone)
        emit gameGone(key);
}

void LanBrowser::browseCallback(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                                AvahiBrowserEvent event, const char* name, const char*, const char* domain,
                                AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<LanBrowser*>(data);
    switch (event) {
    case AVAHI_BROWSER_NEW:
        self->reached(interface, protocol, name, domain);
        break;
    case AVAHI_BROWSER_REMOVE:
        self->unreached(interface, protocol, name, domain);
        break;
    case AVAHI_BROWSER_FAILURE:
        qWarning("Plimb: listing the games on the network failed: %s",
                 avahi_strerror(avahi_client_errno(avahi_service_browser_get_client(browser))));
        // Not from inside the browser's own callback.
        QTimer::singleShot(0, self, &LanBrowser::stopBrowsing);
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
    case AVAHI_BROWSER_CACHE_EXHAUSTED:
        break;
    }
}

void LanBrowser::reached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name,
                         const char* domain) {
    AvahiClient* client = session_->client();
    if (client == nullptr) return;
    const std::string key = keyOf(name, domain);
    // A network that announces games without end gets only as many listed as a player can read.
    if (announcements_.size() >= kMaxAnnouncements && announcements_.count(key) == 0) return;
    Announcement& announcement = announcements_[key];
    for (const Reach& reach : announcement.reaches)
        if (reach.interface == interface && reach.protocol == protocol) return;
    // Resolving on the family the announcement was reached on gives an address of that family.
    Reach reach{interface, protocol, nullptr, std::nullopt};
    reach.resolver =
        avahi_service_resolver_new(client, interface, protocol, name, serviceType().c_str(), domain, protocol,
                                   AvahiLookupFlags(0), &LanBrowser::resolveCallback, this);
    announcement.reaches.push_back(std::move(reach));
}

void LanBrowser::unreached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name,
                           const char* domain) {
    const std::string key = keyOf(name, domain);
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return;
    std::vector<Reach>& reaches = found->second.reaches;
    const auto reach = std::find_if(reaches.begin(), reaches.end(), [&](const Reach& r) {
        return r.interface == interface && r.protocol == protocol;
    });
    if (reach == reaches.end()) return;
    if (reach->resolver != nullptr) avahi_service_resolver_free(reach->resolver);
    reaches.erase(reach);
    report(key);
}

LanBrowser::Reach* LanBrowser::findReach(const std::string& key, AvahiServiceResolver* resolver) {
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return nullptr;
    for (Reach& reach : found->second.reaches)
        if (reach.resolver == resolver) return &reach;
    return nullptr;
}

void LanBrowser::resolveCallback(AvahiServiceResolver* resolver, AvahiIfIndex interface, AvahiProtocol,
                                 AvahiResolverEvent event, const char* name, const char*, const char* domain,
                                 const char* hostName, const AvahiAddress* address, uint16_t port,
                                 AvahiStringList* txt, AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<LanBrowser*>(data);
    const std::string key = keyOf(name, domain);
    Reach* reach = self->findReach(key, resolver);
    if (reach == nullptr) return;
    if (event == AVAHI_RESOLVER_FOUND && address != nullptr) {
        LanAnnouncement announcement{name, hostName != nullptr ? hostName : "",
                                     addressText(*address, interface), port, txtEntries(txt)};
        reach->resolved = lanGame(key, announcement);
    } else {
        // The resolver gives up for good (no address answered in time): this way is dead, the
        // announcement may still be reached on another.
        reach->resolved.reset();
        reach->resolver = nullptr;
        avahi_service_resolver_free(resolver);
    }
    self->report(key);
}

void LanBrowser::report(const std::string& key) {
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return;
    Announcement& announcement = found->second;
    std::vector<LanGame> resolved;
    for (const Reach& reach : announcement.reaches)
        if (reach.resolved) resolved.push_back(*reach.resolved);
    const std::optional<LanGame> best = preferredLanGame(resolved);
    const bool wasReported = announcement.reported.has_value();
    if (best) {
        if (best == announcement.reported) return;
        announcement.reported = best;
        emit gameFound(*best);
        return;
    }
    if (announcement.reaches.empty())
        announcements_.erase(found);
    else
        announcement.reported.reset();
    if (wasReported) emit gameGone(key);
}

} // namespace plimb
