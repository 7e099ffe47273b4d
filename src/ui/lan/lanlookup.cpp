#include "ui/lan/lanlookup.h"

#include <QTimer>
#include <avahi-common/address.h>
#include <avahi-common/domain.h>
#include <avahi-common/error.h>
#include <avahi-common/strlst.h>

#include <net/if.h>

#include <algorithm>
#include <chrono>

#include "ui/lan/avahisession.h"

namespace plimb {
namespace {

// Making or freeing a resolver waits for the daemon's answer, and a daemon busy with a flood takes
// a tenth of a second or more for one; one free and one game's resolvers per turn of the event
// loop leave the turns between to the news from the daemon, such as games withdrawn.
constexpr std::size_t kDaemonCallsPerTurn = 1;

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

LanLookup::LanLookup(QObject* parent) : QObject(parent), session_(std::make_unique<AvahiSession>()) {
    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, &LanLookup::expire);
    connect(session_.get(), &AvahiSession::running, this, &LanLookup::startBrowsing);
    connect(session_.get(), &AvahiSession::lost, this, &LanLookup::stopBrowsing);
    connect(session_.get(), &AvahiSession::availableChanged, this, [this](bool available) {
        if (!available) stopBrowsing();
        emit availableChanged(available);
    });
    startBrowsing();
}

LanLookup::~LanLookup() {
    freeRetired();
    for (auto& [key, announcement] : announcements_)
        for (Reach& reach : announcement.reaches)
            if (reach.resolver != nullptr) avahi_service_resolver_free(reach.resolver);
    if (browser_ != nullptr) avahi_service_browser_free(browser_);
}

bool LanLookup::available() const {
    return session_->available();
}

QString LanLookup::unavailableReason() const {
    return session_->unavailableReason();
}

void LanLookup::startBrowsing() {
    AvahiClient* client = session_->client();
    if (client == nullptr || browser_ != nullptr) return;
    browser_ = avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, serviceType().c_str(),
                                         nullptr, AvahiLookupFlags(0), &LanLookup::browseCallback, this);
    if (browser_ == nullptr)
        qWarning("Plimb: games on the network cannot be listed: %s",
                 avahi_strerror(avahi_client_errno(client)));
}

void LanLookup::stopBrowsing() {
    freeRetired();
    slots_ = LanSlots();
    expiry_.stop();
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

void LanLookup::browseCallback(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                               AvahiBrowserEvent event, const char* name, const char*, const char* domain,
                               AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<LanLookup*>(data);
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
        QTimer::singleShot(0, self, &LanLookup::stopBrowsing);
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
    case AVAHI_BROWSER_CACHE_EXHAUSTED:
        break;
    }
}

void LanLookup::reached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name,
                        const char* domain) {
    if (session_->client() == nullptr) return;
    const std::string key = keyOf(name, domain);
    auto found = announcements_.find(key);
    if (found == announcements_.end()) {
        if (!slots_.seen(key)) return;
        found = announcements_.emplace(key, Announcement{name, domain, {}, std::nullopt}).first;
        later();
    }
    Announcement& announcement = found->second;
    for (const Reach& reach : announcement.reaches)
        if (reach.interface == interface && reach.protocol == protocol) return;
    announcement.reaches.push_back(Reach{interface, protocol, nullptr, std::nullopt});
    // Another way to an announcement that already resolves or is listed is followed at once.
    if (slots_.state(key) != LanSlots::State::Waiting) resolve(announcement, announcement.reaches.back());
}

void LanLookup::resolve(const Announcement& announcement, Reach& reach) {
    // Resolving on the family the announcement was reached on gives an address of that family.
    reach.resolver = avahi_service_resolver_new(
        session_->client(), reach.interface, reach.protocol, announcement.name.c_str(), serviceType().c_str(),
        announcement.domain.c_str(), reach.protocol, AvahiLookupFlags(0), &LanLookup::resolveCallback, this);
}

void LanLookup::unreached(AvahiIfIndex interface, AvahiProtocol protocol, const char* name,
                          const char* domain) {
    const std::string key = keyOf(name, domain);
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return;
    std::vector<Reach>& reaches = found->second.reaches;
    const auto reach = std::find_if(reaches.begin(), reaches.end(), [&](const Reach& r) {
        return r.interface == interface && r.protocol == protocol;
    });
    if (reach == reaches.end()) return;
    retire(reach->resolver);
    reaches.erase(reach);
    if (reaches.empty())
        drop(key);
    else
        settle(key);
}

void LanLookup::retire(AvahiServiceResolver* resolver) {
    if (resolver == nullptr) return;
    retired_.push_back(resolver);
    later();
}

void LanLookup::freeRetired(std::size_t most) {
    const std::size_t count = std::min(most, retired_.size());
    for (std::size_t i = 0; i < count; ++i)
        avahi_service_resolver_free(retired_[retired_.size() - 1 - i]);
    retired_.resize(retired_.size() - count);
}

void LanLookup::later() {
    if (pumping_) return;
    pumping_ = true;
    QTimer::singleShot(0, this, &LanLookup::pump);
}

void LanLookup::pump() {
    pumping_ = false;
    freeRetired(kDaemonCallsPerTurn);
    if (session_->client() != nullptr) {
        const std::vector<std::string> started =
            slots_.startResolving(LanSlots::Clock::now(), kDaemonCallsPerTurn);
        for (const std::string& key : started) {
            Announcement& announcement = announcements_.at(key);
            for (Reach& reach : announcement.reaches)
                resolve(announcement, reach);
            settle(key);
        }
        if (started.size() == kDaemonCallsPerTurn) later();
    }
    if (!retired_.empty()) later();
    const std::optional<LanSlots::Clock::time_point> next = slots_.nextExpiry();
    if (!next) return expiry_.stop();
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - LanSlots::Clock::now());
    expiry_.start(static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
}

void LanLookup::expire() {
    for (const std::string& key : slots_.expire(LanSlots::Clock::now()))
        drop(key);
    later();
}

void LanLookup::settle(const std::string& key) {
    const auto found = announcements_.find(key);
    // A waiting announcement has nothing under way to settle.
    if (found == announcements_.end() || slots_.state(key) == LanSlots::State::Waiting) return;
    const std::vector<Reach>& reaches = found->second.reaches;
    std::vector<LanGame> resolved;
    bool answering = false, pending = false;
    for (const Reach& reach : reaches) {
        if (reach.resolved) resolved.push_back(*reach.resolved);
        answering = answering || reach.resolver != nullptr;
        pending = pending || (reach.resolver != nullptr && !reach.resolved);
    }
    const bool listable = preferredLanGame(resolved).has_value();
    const bool wasResolving = slots_.state(key) == LanSlots::State::Resolving;
    if (listable) slots_.resolved(key, true);
    // Nothing more to hear, or all it resolved to cannot be joined: what cannot be listed is
    // forgotten and leaves its place to the next.
    if (!answering || (!listable && wasResolving && !pending)) return drop(key);
    report(key);
}

void LanLookup::drop(const std::string& key) {
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return;
    for (const Reach& reach : found->second.reaches)
        retire(reach.resolver);
    const bool wasReported = found->second.reported.has_value();
    announcements_.erase(found);
    slots_.forget(key);
    later();
    if (wasReported) emit gameGone(key);
}

LanLookup::Reach* LanLookup::findReach(const std::string& key, AvahiServiceResolver* resolver) {
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return nullptr;
    for (Reach& reach : found->second.reaches)
        if (reach.resolver == resolver) return &reach;
    return nullptr;
}

void LanLookup::resolveCallback(AvahiServiceResolver* resolver, AvahiIfIndex interface, AvahiProtocol,
                                AvahiResolverEvent event, const char* name, const char*, const char* domain,
                                const char* hostName, const AvahiAddress* address, uint16_t port,
                                AvahiStringList* txt, AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<LanLookup*>(data);
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
        self->retire(resolver);
    }
    self->settle(key);
}

void LanLookup::report(const std::string& key) {
    const auto found = announcements_.find(key);
    if (found == announcements_.end()) return;
    Announcement& announcement = found->second;
    std::vector<LanGame> resolved;
    for (const Reach& reach : announcement.reaches)
        if (reach.resolved) resolved.push_back(*reach.resolved);
    const std::optional<LanGame> best = preferredLanGame(resolved);
    if (best == announcement.reported) return;
    const bool wasReported = announcement.reported.has_value();
    announcement.reported = best;
    if (best)
        emit gameFound(*best);
    else if (wasReported)
        emit gameGone(key);
}

} // namespace plimb
