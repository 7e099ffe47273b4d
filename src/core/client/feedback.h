#pragma once
// What a notice changed on the boards and the hand, so the window can show each change for a
// moment: a tile that arrives, a tile that leaves (removed, stolen, overwritten, thrown away,
// lost to a time-out) and the tiles of a word that just scored. And what the opponent did, as the
// handler that applied the move knew it, for a screen reader to hear. The model records both as it
// applies notices; the shell takes them after each redraw, animates the one and says the other.
#include <array>
#include <string_view>
#include <vector>

#include "core/client/viewstate.h"

namespace plimb {

enum class SlotChangeKind { Arrived, Left, Scored };

struct SlotChange {
    SlotFamily family;
    int slot;
    SlotChangeKind kind;
    int code; // the tile that arrived, left or scored
    bool operator==(const SlotChange&) const = default;
};

// A move on the far board (the opponent's; seat 2's for a spectator), as its notice told it.
enum class BoardMoveKind {
    Put,     // a letter put on `to`
    Moved,   // a letter moved from `from` to `to` on the same board
    Stole,   // a letter stolen from the near board's `from` to the far board's `to`
    TookOff, // the letter on `from` taken off the board
};
struct BoardMove {
    BoardMoveKind kind;
    int from;
    int to;
    int code;
    bool operator==(const BoardMove&) const = default;
};

struct Feedback {
    std::vector<SlotChange> changes;
    std::vector<BoardMove> farMoves;
    bool empty() const { return changes.empty() && farMoves.empty(); }
};

// The letter each slot shows (0 for none), boards 1..10 and hand 1..6.
struct ShownSlots {
    std::array<int, kBoardSlots + 1> myletter{}, hisletter{};
    std::array<int, kHandSlots + 1> extra{};
};
ShownSlots shownSlots(const ViewState& view);

// Appends what changed between two pictures of the slots: a letter that is gone leaves, a letter
// that is new arrives (a replaced letter does both).
void appendChanges(const ShownSlots& before, const ShownSlots& after, std::vector<SlotChange>& out);

// The slots of a board where `word` (lower case) stands, read left to right with empty slots as
// blanks; empty when it is not on the board.
std::vector<int> wordSlots(const BoardView& board, std::string_view word);

} // namespace plimb
