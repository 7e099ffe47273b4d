#include "ui/lan/lanannouncer.h"

#include "ui/common/modules.h"

namespace plimb {

LanAnnouncer::LanAnnouncer(QObject* parent) : QObject(parent) {}

LanAnnouncer::~LanAnnouncer() {
    // While this object is whole: taking the announcement back may still report to it.
    withdraw();
    impl_.reset();
}

void LanAnnouncer::announce(const QString& hostPlayer, const LanGameInfo& info) {
    if (!impl_) {
        const ModuleEntry entry = moduleEntry(lanmodule::kModule, lanmodule::kEntry);
        if (entry.address == nullptr) {
            qWarning("Plimb: the game cannot be announced: %s", qUtf8Printable(entry.error));
            return;
        }
        const lanmodule::Entry* module = reinterpret_cast<lanmodule::EntryFunction>(entry.address)();
        impl_.reset(module->makeAnnouncer(*this));
    }
    impl_->announce(hostPlayer, info);
}

void LanAnnouncer::update(const LanGameInfo& info) {
    if (impl_) impl_->update(info);
}

void LanAnnouncer::withdraw() {
    if (impl_) impl_->withdraw();
}

bool LanAnnouncer::available() const {
    return impl_ && impl_->available();
}

QString LanAnnouncer::instanceName() const {
    return impl_ ? impl_->instanceName() : QString();
}

void LanAnnouncer::nameAccepted(const QString& instanceName) {
    emit announced(instanceName);
}

void LanAnnouncer::daemonAvailable(bool available) {
    emit availableChanged(available);
}

} // namespace plimb
