#pragma once
// A move intent as data, for the gestures of the board that travel to the model as a signal (a
// typed letter, Escape, a drop). apply() makes the same call of ClientModel that the clicks make,
// so a gesture and its clicks send the same request.
namespace plimb {

class ClientModel;

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

void apply(ClientModel& model, const MoveIntent& intent);

} // namespace plimb
