#include "ui/app/hostingservices.h"

#include <algorithm>

#include "core/net/protocol.h"

namespace plimb {

HostingServices::HostingServices(TServer& server, std::function<void(const std::string&)> chatLine,
                                 QObject* parent)
    : QObject(parent), server_(server), chatLine_(std::move(chatLine)) {
    connect(&server_, &TServer::tableChanged, this, [this] {
        // Every request comes through here; the network hears only of real changes.
        const TServer::Table now = server_.table();
        if (now == table_) return;
        table_ = now;
        announcer_.update(info());
    });
    connect(&mapper_, &PortMapper::mapped, this, [this](const QString& address, const QString&) {
        const bool first = external_.isEmpty();
        external_ = address;
        emit externalAddressChanged(address);
        if (first) chatLine_(mappedChatText(address).toStdString());
    });
    connect(&mapper_, &PortMapper::failed, this, [this](const QString& reason) {
        // Said once; a renewal that fails later only takes the address back.
        const bool wasMapped = !external_.isEmpty();
        external_.clear();
        emit externalAddressChanged(external_);
        if (!wasMapped) chatLine_(notMappedChatText(reason).toStdString());
    });
}

LanGameInfo HostingServices::info() const {
    return LanGameInfo{QString::fromUtf8(kVersion.data(), static_cast<int>(kVersion.size())),
                       std::max(table_.seatsTaken, 1), table_.running};
}

void HostingServices::start(const QString& hostPlayer) {
    table_ = server_.table();
    announcer_.announce(hostPlayer, info());
    mapper_.start(kGamePort);
}

} // namespace plimb
