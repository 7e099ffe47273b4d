#include "core/client/spectators.h"

#include <algorithm>

#include "core/net/board.h"
#include "core/net/protocol.h"

namespace plimb {

Spectators::Spectators(const Identity& me, const ViewState& view,
                       std::function<void(const std::string&)> send)
    : me_(me), view_(view), send_(std::move(send)) {}

void Spectators::arrived(int seat, const std::string& name) {
    const std::string prefix = std::to_string(seat) + ": ";
    std::erase_if(spys_, [&prefix](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    spys_.push_back(prefix + name);
}

bool Spectators::left(int seat, const std::string& name) {
    const auto it = std::find(spys_.begin(), spys_.end(), std::to_string(seat) + ": " + name);
    if (it == spys_.end()) return false;
    spys_.erase(it);
    return true;
}

void Spectators::justWatchClick() {
    if (!me_.loggedIn || !me_.isPlayer()) return;
    send_(build::justwatchRequest(me_.seat, view_.justWatch ? 2 : 1));
}

void Spectators::setJustWatch(int seat, bool watch) {
    if (!isPlayerSeat(seat)) return;
    send_(build::justwatchRequest(seat, watch ? 1 : 2));
}

void Spectators::kicking(int seat) {
    if (me_.isHost) send_(build::kickhimRequest(me_.seat, seat));
}

void Spectators::kickSpyEntry(std::string_view entry) {
    const auto colon = entry.find(':');
    if (const auto seat = parseInt(entry.substr(0, colon))) kicking(*seat);
}

Spectators::NamePopupState Spectators::namePopupState(int seat) const {
    const bool waiting = isPlayerSeat(seat) && view_.rowFor(seat).name == kWaitingName;
    return {seat, me_.isHost && !waiting, me_.isHost, me_.isHost};
}

} // namespace plimb
