#pragma once
// The announcement of a hosted game on the Avahi daemon, inside plimb_lan.so: what LanAnnouncer
// (lanannouncer.h) promises, with the same contract. When another computer already announces a
// game under the same name, Avahi's alternative name ("Ann #2") is taken.
#include <QObject>
#include <QString>
#include <avahi-client/publish.h>
#include <memory>

#include "ui/lan/lanmodule.h"

namespace plimb {

class AvahiSession;

class AvahiAnnouncer : public QObject, public lanmodule::Announcer {
public:
    explicit AvahiAnnouncer(lanmodule::AnnouncerEvents& events);
    ~AvahiAnnouncer() override; // withdraws

    void announce(const QString& hostPlayer, const LanGameInfo& info) override;
    void update(const LanGameInfo& info) override;
    void withdraw() override;
    bool available() const override;
    QString instanceName() const override;

private:
    static void groupCallback(AvahiEntryGroup* group, AvahiEntryGroupState state, void* self);
    void addService();
    void takeBack();
    void nextName();

    lanmodule::AnnouncerEvents& events_;
    std::unique_ptr<AvahiSession> session_;
    AvahiEntryGroup* group_ = nullptr;
    bool added_ = false;
    std::string name_; // UTF-8
    LanGameInfo info_;
};

} // namespace plimb
