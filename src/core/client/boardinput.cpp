#include "core/client/boardinput.h"

#include "core/net/board.h"
#include "core/net/protocol.h"

namespace plimb {

namespace {
bool inRange(SlotFamily family, int slot) {
    return family == SlotFamily::Extra ? isHandSlot(slot) : isBoardSlot(slot);
}
} // namespace

BoardInput::BoardInput(ViewState& view, std::function<std::optional<int>()> moverSeat,
                       std::function<void(const std::string&)> send)
    : view_(view), moverSeat_(std::move(moverSeat)), send_(std::move(send)) {}

std::optional<Pick> BoardInput::pick() const {
    if (pick_.slot == 0) return std::nullopt;
    return pick_;
}

SlotView& BoardInput::tile(SlotFamily family, int slot) {
    switch (family) {
    case SlotFamily::MyLetter:
        return view_.myletter[slot];
    case SlotFamily::HisLetter:
        return view_.hisletter[slot];
    case SlotFamily::Extra:
        break;
    }
    return view_.extra[slot];
}

std::optional<MoveIntent> BoardInput::clickIntent(SlotFamily family, int n, MouseButton button) const {
    if (button == MouseButton::Right) {
        if (family == SlotFamily::Extra) return MoveIntent{MoveIntentKind::ThrowAway, n};
        if (family == SlotFamily::MyLetter) return MoveIntent{MoveIntentKind::Remove, n};
    }
    if (button != MouseButton::Left || !inRange(family, n) || !moverSeat_()) return std::nullopt;
    switch (family) {
    case SlotFamily::MyLetter:
        if (pick_.slot == 0) return MoveIntent{MoveIntentKind::PickBoard, n};
        if (pick_.family == SlotFamily::Extra) return MoveIntent{MoveIntentKind::Place, pick_.slot, n};
        if (pick_.family == SlotFamily::MyLetter) return MoveIntent{MoveIntentKind::Swap, pick_.slot, n};
        return MoveIntent{MoveIntentKind::Steal, pick_.slot, n};
    case SlotFamily::Extra:
        // Only the pick stands out of the row, but the pick may stand in it (a new letter puts
        // the hand back): a click then lifts it again.
        if (view_.extra[n].raised) return MoveIntent{MoveIntentKind::Cancel};
        return MoveIntent{MoveIntentKind::PickHand, n};
    case SlotFamily::HisLetter:
        if (picked(SlotFamily::HisLetter) == n) return MoveIntent{MoveIntentKind::Cancel};
        return MoveIntent{MoveIntentKind::PickOpponent, n};
    }
    return std::nullopt;
}

void BoardInput::click(SlotFamily family, int slot, MouseButton button) {
    if (const auto intent = clickIntent(family, slot, button)) apply(*intent);
}

void BoardInput::apply(const MoveIntent& intent) {
    const auto mover = moverSeat_();
    if (!mover) return;
    const int seat = *mover;
    const int from = intent.from, to = intent.to;
    switch (intent.kind) {
    case MoveIntentKind::PickHand:
        return pickTile(SlotFamily::Extra, from);
    case MoveIntentKind::PickBoard:
        return pickTile(SlotFamily::MyLetter, from);
    case MoveIntentKind::PickOpponent:
        return pickTile(SlotFamily::HisLetter, from);
    case MoveIntentKind::Cancel:
        return cancel();
    case MoveIntentKind::Place:
        if (!isHandSlot(from) || !isBoardSlot(to)) return;
        pickTile(SlotFamily::Extra, from);
        send_(build::placemyletterRequest(seat, from, to));
        view_.extra[from].raised = false;
        pick_ = {};
        return;
    case MoveIntentKind::Swap:
        if (!isBoardSlot(from) || !isBoardSlot(to)) return;
        pickTile(SlotFamily::MyLetter, from);
        send_(build::tradingmyletterRequest(seat, from, to));
        pick_ = {};
        // Both tiles stay shifted until the server's answer puts the board back.
        view_.myletter[to].raised = true;
        return;
    case MoveIntentKind::Steal:
        if (!isBoardSlot(from) || !isBoardSlot(to)) return;
        pickTile(SlotFamily::HisLetter, from);
        // The opponent's tile stays shifted until the answer resets the tiles.
        send_(build::stealinghisletterRequest(seat, from, to));
        pick_ = {};
        return;
    case MoveIntentKind::ThrowAway:
        if (isHandSlot(from)) send_(build::discardextraRequest(seat, from));
        return;
    case MoveIntentKind::Remove:
        if (isBoardSlot(from)) send_(build::discardletterRequest(seat, from));
        return;
    }
}

void BoardInput::pickTile(SlotFamily family, int slot) {
    if (!inRange(family, slot)) return;
    const bool same = pick_ == Pick{family, slot};
    if (family == SlotFamily::Extra) {
        if (same && view_.extra[slot].raised) return;
        reset();
    } else if (same) {
        return;
    } else if (family == SlotFamily::MyLetter) {
        // Without another pick the tiles of a swap or a steal still waiting for the server's
        // answer stay shifted.
        cancel();
    } else {
        reset();
    }
    pick_ = {family, slot};
    tile(family, slot).raised = true;
}

void BoardInput::cancel() {
    if (pick_.slot != 0) reset();
}

void BoardInput::reset() {
    pick_ = {};
    for (const SlotFamily family : {SlotFamily::MyLetter, SlotFamily::HisLetter, SlotFamily::Extra})
        lower(family);
}

void BoardInput::lower(SlotFamily family) {
    const int slots = family == SlotFamily::Extra ? kHandSlots : kBoardSlots;
    for (int n = 1; n <= slots; ++n)
        tile(family, n).raised = false;
}

void BoardInput::forget(SlotFamily family) {
    if (pick_.family == family) pick_ = {};
}

} // namespace plimb
