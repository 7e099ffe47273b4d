// Clicks on the tiles become a small selection and then a request. The client only checks whose
// turn it is; whether the move is possible is the server's call, and the boards change only when
// its answer arrives.
#include "client/clientmodel.h"
#include "client/noticefields.h"
#include "net/protocol.h"

namespace plimb {

bool ClientModel::moveGate() const {
    return currentPlayer_ == mySeat_ && !view_.justWatch;
}

void ClientModel::myletterMouseDown(int n, MouseButton button) {
    if (!notice::isBoardSlot(n) || !moveGate()) return;
    if (button == MouseButton::Right) {
        send(build::discardletter(mySeat_, n));
        return;
    }
    if (button != MouseButton::Left) return;

    if (selectedHand_ != 0) {
        send(build::placemyletterRequest(mySeat_, selectedHand_, n));
        view_.extra[selectedHand_].top = kExtraTop;
        selectedHand_ = 0;
    } else if (selectedBoard_ != 0) {
        send(build::tradingmyletterRequest(mySeat_, selectedBoard_, n));
        selectedBoard_ = 0;
        // Both tiles stay shifted until the server's answer puts the board back.
        view_.myletter[n].top = kMyLetterSelectedTop;
    } else if (selectedOpponent_ != 0) {
        // The opponent's tile stays shifted until the answer resets the tiles.
        send(build::stealinghisletter(mySeat_, selectedOpponent_, n));
        selectedOpponent_ = 0;
    } else {
        selectedBoard_ = n;
        view_.myletter[n].top = kMyLetterSelectedTop;
    }
}

void ClientModel::extraMouseDown(int n, MouseButton button) {
    if (!notice::isHandSlot(n) || !moveGate()) return;
    if (button == MouseButton::Right) {
        send(build::discardextra(mySeat_, n));
        return;
    }
    if (button != MouseButton::Left) return;

    if (view_.extra[n].top != kExtraTop) {
        view_.extra[n].top = kExtraTop;
        selectedHand_ = 0;
    } else {
        resettiles();
        selectedHand_ = n;
        view_.extra[n].top = kExtraSelectedTop;
    }
}

void ClientModel::hisletterClick(int n) {
    if (!notice::isBoardSlot(n) || !moveGate()) return;
    if (n == selectedOpponent_) {
        view_.hisletter[n].top = kHisLetterTop;
        selectedOpponent_ = 0;
    } else {
        resettiles();
        selectedOpponent_ = n;
        view_.hisletter[n].top = kHisLetterSelectedTop;
    }
}

} // namespace plimb
