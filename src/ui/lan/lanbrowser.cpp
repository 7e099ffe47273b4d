#include "ui/lan/lanbrowser.h"

#include "ui/common/modules.h"

namespace plimb {

LanBrowser::LanBrowser(QObject* parent) : QObject(parent), anchor_(new QObject) {
    thread_.setObjectName(QStringLiteral("Plimb LAN"));
    anchor_->moveToThread(&thread_);
    thread_.start();
    QMetaObject::invokeMethod(
        anchor_,
        [this] {
            const ModuleEntry entry = moduleEntry(lanmodule::kModule, lanmodule::kEntry);
            if (entry.address == nullptr) {
                reason_ = QStringLiteral("Plimb's network module is not usable (%1)").arg(entry.error);
                return;
            }
            lookup_ = reinterpret_cast<lanmodule::EntryFunction>(entry.address)()->makeLookup(*this);
            available_ = lookup_->available();
            reason_ = lookup_->unavailableReason();
        },
        Qt::BlockingQueuedConnection);
}

LanBrowser::~LanBrowser() {
    QMetaObject::invokeMethod(
        anchor_, [this] { delete lookup_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete anchor_;
}

void LanBrowser::found(const LanGame& game) {
    QMetaObject::invokeMethod(this, [this, game] { emit gameFound(game); });
}

void LanBrowser::gone(const std::string& key) {
    QMetaObject::invokeMethod(this, [this, key] { emit gameGone(key); });
}

void LanBrowser::daemonAvailable(bool available, const QString& reason) {
    QMetaObject::invokeMethod(this, [this, available, reason] {
        available_ = available;
        reason_ = reason;
        emit availableChanged(available);
    });
}

} // namespace plimb
