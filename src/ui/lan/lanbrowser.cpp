#include "lan/lanbrowser.h"

#include "lan/lanlookup.h"

namespace plimb {

LanBrowser::LanBrowser(QObject* parent) : QObject(parent), anchor_(new QObject) {
    thread_.setObjectName(QStringLiteral("Plimb LAN"));
    anchor_->moveToThread(&thread_);
    thread_.start();
    QMetaObject::invokeMethod(
        anchor_,
        [this] {
            lookup_ = new LanLookup;
            available_ = lookup_->available();
            reason_ = lookup_->unavailableReason();
            connect(lookup_, &LanLookup::gameFound, this, &LanBrowser::gameFound);
            connect(lookup_, &LanLookup::gameGone, this, &LanBrowser::gameGone);
            // The reason is read there, when it changes, and arrives here with the news.
            connect(
                lookup_, &LanLookup::availableChanged, this,
                [this, lookup = lookup_](bool available) {
                    const QString reason = lookup->unavailableReason();
                    QMetaObject::invokeMethod(this, [this, available, reason] {
                        available_ = available;
                        reason_ = reason;
                        emit availableChanged(available);
                    });
                },
                Qt::DirectConnection);
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

} // namespace plimb
