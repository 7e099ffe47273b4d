// The entry of plimb_lan.so: the Avahi announcer and lookup behind lanmodule.h's classes.
#include "ui/lan/lanmodule.h"

#include "ui/lan/avahiannouncer.h"
#include "ui/lan/lanlookup.h"

namespace plimb {
namespace {

class LookupOnAvahi : public lanmodule::Lookup {
public:
    explicit LookupOnAvahi(lanmodule::LookupEvents& events) {
        QObject::connect(&lookup_, &LanLookup::gameFound,
                         [&events](const LanGame& game) { events.found(game); });
        QObject::connect(&lookup_, &LanLookup::gameGone,
                         [&events](const std::string& key) { events.gone(key); });
        QObject::connect(&lookup_, &LanLookup::availableChanged, [this, &events](bool available) {
            events.daemonAvailable(available, lookup_.unavailableReason());
        });
    }
    bool available() const override { return lookup_.available(); }
    QString unavailableReason() const override { return lookup_.unavailableReason(); }

private:
    LanLookup lookup_;
};

lanmodule::Announcer* makeAnnouncer(lanmodule::AnnouncerEvents& events) {
    return new AvahiAnnouncer(events);
}

lanmodule::Lookup* makeLookup(lanmodule::LookupEvents& events) {
    return new LookupOnAvahi(events);
}

} // namespace
} // namespace plimb

extern "C" Q_DECL_EXPORT const plimb::lanmodule::Entry* plimb_lan_entry_1() {
    static const plimb::lanmodule::Entry entry{&plimb::makeAnnouncer, &plimb::makeLookup};
    return &entry;
}
