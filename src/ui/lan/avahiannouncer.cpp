#include "ui/lan/avahiannouncer.h"

#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

#include "ui/common/qtext.h"
#include "ui/lan/avahisession.h"
#include "core/net/protocol.h"

namespace plimb {
namespace {

// Each try takes the next alternative name; this many games of the same name on one network
// are not a real case, and the bound keeps a misbehaving daemon from keeping us busy.
constexpr int kMaxNameTries = 20;

const std::string& serviceType() {
    static const std::string type(kLanServiceType);
    return type;
}

AvahiStringList* txtRecord(const LanGameInfo& info) {
    AvahiStringList* list = nullptr;
    for (const std::string& entry : buildLanTxt(toStdString(info.version), info.seatsTaken, info.running))
        list = avahi_string_list_add_arbitrary(list, reinterpret_cast<const uint8_t*>(entry.data()),
                                               entry.size());
    return list;
}

} // namespace

AvahiAnnouncer::AvahiAnnouncer(lanmodule::AnnouncerEvents& events) : events_(events) {}

AvahiAnnouncer::~AvahiAnnouncer() {
    withdraw();
}

void AvahiAnnouncer::announce(const QString& hostPlayer, const LanGameInfo& info) {
    const std::string name = lanInstanceName(toStdString(hostPlayer));
    if (session_ && group_ && added_ && name == name_) {
        update(info);
        return;
    }
    info_ = info;
    takeBack();
    name_ = name;
    if (!session_) {
        session_ = std::make_unique<AvahiSession>();
        connect(session_.get(), &AvahiSession::running, this, &AvahiAnnouncer::addService);
        connect(session_.get(), &AvahiSession::registering, this, [this] {
            if (group_ != nullptr) avahi_entry_group_reset(group_);
            added_ = false;
        });
        connect(session_.get(), &AvahiSession::lost, this, &AvahiAnnouncer::takeBack);
        connect(session_.get(), &AvahiSession::availableChanged, this,
                [this](bool available) { events_.daemonAvailable(available); });
    }
    addService();
}

void AvahiAnnouncer::update(const LanGameInfo& info) {
    if (!session_) return;
    info_ = info;
    // Not added yet: the service goes out with these facts when it is.
    if (group_ == nullptr || !added_) return;
    AvahiStringList* txt = txtRecord(info_);
    const int error = avahi_entry_group_update_service_txt_strlst(group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                                                  AvahiPublishFlags(0), name_.c_str(),
                                                                  serviceType().c_str(), nullptr, txt);
    avahi_string_list_free(txt);
    if (error < 0) qWarning("Plimb: the game's announcement could not be updated: %s", avahi_strerror(error));
}

void AvahiAnnouncer::withdraw() {
    takeBack();
    session_.reset();
    name_.clear();
}

bool AvahiAnnouncer::available() const {
    return session_ && session_->available();
}

QString AvahiAnnouncer::instanceName() const {
    return toQString(name_);
}

void AvahiAnnouncer::addService() {
    AvahiClient* client = session_ ? session_->client() : nullptr;
    // Services go out once the daemon has settled this computer's host name.
    if (client == nullptr || added_ || avahi_client_get_state(client) != AVAHI_CLIENT_S_RUNNING) return;
    if (group_ == nullptr) group_ = avahi_entry_group_new(client, &AvahiAnnouncer::groupCallback, this);
    if (group_ == nullptr) {
        qWarning("Plimb: the game cannot be announced: %s", avahi_strerror(avahi_client_errno(client)));
        return;
    }
    for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
        AvahiStringList* txt = txtRecord(info_);
        const int error = avahi_entry_group_add_service_strlst(
            group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0), name_.c_str(),
            serviceType().c_str(), nullptr, nullptr, static_cast<uint16_t>(kGamePort), txt);
        avahi_string_list_free(txt);
        // A service of this computer already has the name.
        if (error == AVAHI_ERR_COLLISION) {
            nextName();
            continue;
        }
        if (error >= 0 && avahi_entry_group_commit(group_) >= 0) {
            added_ = true;
            return;
        }
        qWarning("Plimb: the game cannot be announced: %s",
                 avahi_strerror(error < 0 ? error : avahi_client_errno(client)));
        avahi_entry_group_reset(group_);
        return;
    }
}

void AvahiAnnouncer::groupCallback(AvahiEntryGroup* group, AvahiEntryGroupState state, void* data) {
    auto* self = static_cast<AvahiAnnouncer*>(data);
    switch (state) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
        self->events_.nameAccepted(self->instanceName());
        break;
    case AVAHI_ENTRY_GROUP_COLLISION:
        // Another computer announces a game under this name.
        self->nextName();
        avahi_entry_group_reset(group);
        self->added_ = false;
        self->addService();
        break;
    case AVAHI_ENTRY_GROUP_FAILURE:
        qWarning("Plimb: the game's announcement failed: %s",
                 avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(group))));
        break;
    case AVAHI_ENTRY_GROUP_UNCOMMITED:
    case AVAHI_ENTRY_GROUP_REGISTERING:
        break;
    }
}

void AvahiAnnouncer::takeBack() {
    if (group_ != nullptr) avahi_entry_group_free(group_);
    group_ = nullptr;
    added_ = false;
}

void AvahiAnnouncer::nextName() {
    char* next = avahi_alternative_service_name(name_.c_str());
    name_ = next;
    avahi_free(next);
}

} // namespace plimb
