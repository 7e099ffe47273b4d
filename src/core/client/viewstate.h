#pragma once
// What the game panel shows: the client's view model, rendered by the shell and changed only by
// the notice handlers and the move input of ClientModel.
#include <array>
#include <string>
#include <vector>

#include "core/net/board.h"

namespace plimb {

enum class SlotFamily { MyLetter, HisLetter, Extra };
enum class MouseButton { Left, Right, Other };

// The clock bar's full width in pixels: the bar shrinks by a whole number of pixels a second.
inline constexpr int kTimerBarWidth = 197;

struct SlotView {
    bool drawn = false;  // false: cleared, the board shows through
    int code = 0;        // tile picture painted when drawn; 0 is see-through white
    bool raised = false; // shifted out of its row: the pick, or a tile of a move on its way
};

// A board's slots, [1..10]; [0] is unused.
using BoardView = std::array<SlotView, kBoardSlots + 1>;

// One row of per-seat indicators. Row 0 is the near row (beside myletter), row 1 the far row.
struct SeatRowView {
    std::string name{kWaitingName};
    bool nameVisible = true;
    std::string score = "0";
    bool scoreVisible = true;
    std::string status;
    bool turn = false;
    bool eyes = false;
};

struct ViewState {
    BoardView myletter{};
    BoardView hisletter{};
    std::array<SlotView, kHandSlots + 1> extra{}; // [1..6]

    std::array<SeatRowView, 2> rows{}; // [0] near, [1] far
    // Which row shows seat 1 and seat 2: {near, far} until a seat-2 client exchanges them.
    int rowOfSeat1 = 0, rowOfSeat2 = 1;

    std::string status = "Welcome to Plimb by Vexo42 Software";
    std::string playtoscore = "Play to Score: 100";
    std::string timeperturn = "Time per Turn: 30 ";
    int timeperturnTag = 30;
    std::string steals = "# of Steals: 5";
    std::string turntime = "Time: 0:00";
    int timerWidth = kTimerBarWidth;
    int timerStep = 0;

    std::string mywordsCaption = "Your Words";
    std::vector<std::string> mywords; // newest first

    bool winnerVisible = false;
    std::string winnerText = "Winner!";
    bool startButtonVisible = false;
    bool justWatch = false; // the check mark of Options, "Just Watch"

    SeatRowView& rowFor(int seat) { return rows[seat == 2 ? rowOfSeat2 : rowOfSeat1]; }
    const SeatRowView& rowFor(int seat) const { return rows[seat == 2 ? rowOfSeat2 : rowOfSeat1]; }
};

} // namespace plimb
