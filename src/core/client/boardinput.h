#pragma once
// Move input on the board: every gesture (a click, a key, a drag, an accessibility action) comes
// here as a MoveIntent and becomes a pick or a request. The client only checks that the move is
// this player's; whether it is possible is the server's call, and the boards change only when its
// answer arrives.
#include <functional>
#include <optional>
#include <string>

#include "core/client/moveintent.h"
#include "core/client/viewstate.h"

namespace plimb {

// The tile picked up for the next move.
struct Pick {
    SlotFamily family = SlotFamily::Extra;
    int slot = 0;
    bool operator==(const Pick&) const = default;
};

class BoardInput {
public:
    // `moverSeat` is the own seat while it is this player's move and nothing otherwise (before the
    // login the seat is 0 and so is the player in turn: tiles may be picked, and `send` drops what
    // they ask). `send` takes one request. The view's `raised` flags show the pick and the tiles of
    // a request on its way.
    BoardInput(ViewState& view, std::function<std::optional<int>()> moverSeat,
               std::function<void(const std::string&)> send);

    // What a click of the mouse means now, with the pick as it stands. A left click on the own
    // board puts the pick there (place, swap or steal) or, with nothing picked, picks that tile;
    // on the hand or the opponent's board it picks that tile, or drops it when it is the pick. A
    // right click throws a hand tile away or removes a board tile. Nothing for any other click,
    // a slot out of range, or while it is not this player's move.
    std::optional<MoveIntent> clickIntent(SlotFamily family, int slot, MouseButton button) const;
    void click(SlotFamily family, int slot, MouseButton button);
    // The one way in for every gesture. Picking a tile drops any other pick; picking the pick
    // again changes nothing, except that a hand pick a new letter put back into its row stands
    // out again. A move picks its tile first (as its first click would), then asks the server.
    void apply(const MoveIntent& intent);

    std::optional<Pick> pick() const;
    // The slot picked in `family`, 0 for none.
    int picked(SlotFamily family) const { return pick_.family == family ? pick_.slot : 0; }

    // What the notices do to the input: every tile back into its row and no pick; one row's tiles
    // back (the pick kept); the pick of a row forgotten.
    void reset();
    void lower(SlotFamily family);
    void forget(SlotFamily family);
    // The pick of another input, for a copy of its model.
    void copyStateFrom(const BoardInput& from) { pick_ = from.pick_; }

private:
    void pickTile(SlotFamily family, int slot);
    void cancel();
    SlotView& tile(SlotFamily family, int slot);

    ViewState& view_;
    std::function<std::optional<int>()> moverSeat_;
    std::function<void(const std::string&)> send_;
    Pick pick_{}; // slot 0: nothing picked
};

} // namespace plimb
