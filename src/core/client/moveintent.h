#pragma once
// A move intent as data: what every gesture of the board comes down to (a click, a typed letter,
// Escape, a drag and its drop, an accessibility action). BoardInput::apply() is the one way in,
// so every gesture sends the same request.
#include <optional>

#include "core/client/viewstate.h"

namespace plimb {

enum class MoveIntentKind {
    PickHand,
    PickBoard,
    PickOpponent,
    Cancel,
    Place,
    Swap,
    Steal,
    ThrowAway,
    Remove
};

struct MoveIntent {
    MoveIntentKind kind = MoveIntentKind::Cancel;
    // The tile: a hand slot (PickHand, Place, ThrowAway), an own board slot (PickBoard, Swap,
    // Remove) or a slot of the opponent's board (PickOpponent, Steal).
    int from = 0;
    // The own board slot a Place, Swap or Steal goes to.
    int to = 0;
    bool operator==(const MoveIntent&) const = default;
};

// Where a carried tile is let go: on a slot of the own board, or on the bin beside the hand.
struct DropTarget {
    bool bin = false;
    int board = 0; // the own board slot, when not the bin
};

// The move a tile of `family` at `slot` makes when it is dropped there: a hand tile placed, a
// board tile swapped, the opponent's tile stolen, a hand or board tile on the bin thrown away or
// removed. Nothing for a tile dropped back on its own slot or the opponent's tile on the bin.
std::optional<MoveIntent> dropIntent(SlotFamily family, int slot, DropTarget target);

} // namespace plimb
