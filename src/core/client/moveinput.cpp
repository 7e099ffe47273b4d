// Clicks, keys and drags on the tiles become a small selection and then a request. The client only
// checks whose turn it is; whether the move is possible is the server's call, and the boards change
// only when its answer arrives.
#include "core/client/clientmodel.h"
#include "core/client/moveintent.h"
#include "core/client/noticefields.h"
#include "core/net/protocol.h"

namespace plimb {

bool ClientModel::moveGate() const {
    return currentPlayer_ == mySeat_ && !view_.justWatch;
}

void ClientModel::myletterMouseDown(int n, MouseButton button) {
    if (button == MouseButton::Right) return remove(n);
    if (button != MouseButton::Left || !notice::isBoardSlot(n) || !moveGate()) return;
    if (selectedHand_ != 0)
        place(selectedHand_, n);
    else if (selectedBoard_ != 0)
        swap(selectedBoard_, n);
    else if (selectedOpponent_ != 0)
        steal(selectedOpponent_, n);
    else
        pickBoard(n);
}

void ClientModel::extraMouseDown(int n, MouseButton button) {
    if (button == MouseButton::Right) return throwAway(n);
    if (button != MouseButton::Left || !notice::isHandSlot(n) || !moveGate()) return;
    // Only the pick stands out of the row, but the pick may stand in it (a new letter puts the
    // hand back): a click then lifts it again.
    if (view_.extra[n].top != kExtraTop)
        cancelPick();
    else
        pickHand(n);
}

void ClientModel::hisletterClick(int n) {
    if (!notice::isBoardSlot(n) || !moveGate()) return;
    if (n == selectedOpponent_)
        cancelPick();
    else
        pickOpponent(n);
}

void ClientModel::pickHand(int n) {
    if (!notice::isHandSlot(n) || !moveGate()) return;
    if (selectedHand_ == n && view_.extra[n].top != kExtraTop) return;
    resettiles();
    selectedHand_ = n;
    view_.extra[n].top = kExtraSelectedTop;
}

void ClientModel::pickBoard(int n) {
    if (!notice::isBoardSlot(n) || !moveGate() || selectedBoard_ == n) return;
    // Without another pick the tiles of a swap or a steal still waiting for the server's answer
    // stay shifted.
    cancelPick();
    selectedBoard_ = n;
    view_.myletter[n].top = kMyLetterSelectedTop;
}

void ClientModel::pickOpponent(int n) {
    if (!notice::isBoardSlot(n) || !moveGate() || selectedOpponent_ == n) return;
    resettiles();
    selectedOpponent_ = n;
    view_.hisletter[n].top = kHisLetterSelectedTop;
}

void ClientModel::cancelPick() {
    if (!moveGate() || (selectedHand_ == 0 && selectedBoard_ == 0 && selectedOpponent_ == 0)) return;
    resettiles();
}

void ClientModel::place(int hand, int board) {
    if (!notice::isHandSlot(hand) || !notice::isBoardSlot(board) || !moveGate()) return;
    pickHand(hand);
    send(build::placemyletterRequest(mySeat_, hand, board));
    view_.extra[hand].top = kExtraTop;
    selectedHand_ = 0;
}

void ClientModel::swap(int from, int to) {
    if (!notice::isBoardSlot(from) || !notice::isBoardSlot(to) || !moveGate()) return;
    pickBoard(from);
    send(build::tradingmyletterRequest(mySeat_, from, to));
    selectedBoard_ = 0;
    // Both tiles stay shifted until the server's answer puts the board back.
    view_.myletter[to].top = kMyLetterSelectedTop;
}

void ClientModel::steal(int opponentSlot, int board) {
    if (!notice::isBoardSlot(opponentSlot) || !notice::isBoardSlot(board) || !moveGate()) return;
    pickOpponent(opponentSlot);
    // The opponent's tile stays shifted until the answer resets the tiles.
    send(build::stealinghisletter(mySeat_, opponentSlot, board));
    selectedOpponent_ = 0;
}

void ClientModel::throwAway(int hand) {
    if (!notice::isHandSlot(hand) || !moveGate()) return;
    send(build::discardextra(mySeat_, hand));
}

void ClientModel::remove(int board) {
    if (!notice::isBoardSlot(board) || !moveGate()) return;
    send(build::discardletter(mySeat_, board));
}

void apply(ClientModel& model, const MoveIntent& intent) {
    switch (intent.kind) {
    case MoveIntentKind::PickHand:
        return model.pickHand(intent.from);
    case MoveIntentKind::PickBoard:
        return model.pickBoard(intent.from);
    case MoveIntentKind::PickOpponent:
        return model.pickOpponent(intent.from);
    case MoveIntentKind::Cancel:
        return model.cancelPick();
    case MoveIntentKind::Place:
        return model.place(intent.from, intent.to);
    case MoveIntentKind::Swap:
        return model.swap(intent.from, intent.to);
    case MoveIntentKind::Steal:
        return model.steal(intent.from, intent.to);
    case MoveIntentKind::ThrowAway:
        return model.throwAway(intent.from);
    case MoveIntentKind::Remove:
        return model.remove(intent.from);
    }
}

} // namespace plimb
