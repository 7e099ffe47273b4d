#pragma once
// What a notice changed on the boards and the hand, so the window can show each change for a
// moment: a tile that arrives, a tile that leaves (removed, stolen, overwritten, thrown away,
// lost to a time-out) and the tiles of a word that just scored. The model records them as it
// applies notices; the shell takes them after each redraw and animates them.
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
