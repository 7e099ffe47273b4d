#pragma once
// What the game panel shows: the client's view model, rendered by the shell and changed only by
// the notice handlers and the move input of ClientModel.
#include <array>
#include <string>
#include <vector>

namespace plimb {

enum class SlotFamily { MyLetter, HisLetter, Extra };
enum class MouseButton { Left, Right, Other };

// Normal and selected tops of the three slot families, in board-panel pixels.
inline constexpr int kMyLetterTop = 115, kMyLetterSelectedTop = 119;
inline constexpr int kHisLetterTop = 32, kHisLetterSelectedTop = 36;
inline constexpr int kExtraTop = 173, kExtraSelectedTop = 167;
inline constexpr int myLetterLeft(int n) {
    return 44 + 40 * (n - 1);
}
inline constexpr int hisLetterLeft(int n) {
    return 45 + 40 * (n - 1);
}
inline constexpr int extraLeft(int n) {
    return 104 + 48 * (n - 1);
}
inline constexpr int kTimerBarWidth = 197;

struct SlotView {
    bool drawn = false; // false: cleared, the board shows through
    int code = 0;       // tile picture painted when drawn; 0 is see-through white
    int top = 0;
};

// One row of per-seat indicators. Row 0 is the near row (beside myletter), row 1 the far row.
struct SeatRowView {
    std::string name = "<Waiting>";
    bool nameVisible = true;
    std::string score = "0";
    bool scoreVisible = true;
    std::string status;
    bool turn = false;
    bool eyes = false;
};

struct ViewState {
    std::array<SlotView, 11> myletter{};  // [1..10]
    std::array<SlotView, 11> hisletter{}; // [1..10]
    std::array<SlotView, 7> extra{};      // [1..6]

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

    ViewState() {
        for (int n = 1; n <= 10; ++n) {
            myletter[n].top = kMyLetterTop;
            hisletter[n].top = kHisLetterTop;
        }
        for (int n = 1; n <= 6; ++n)
            extra[n].top = kExtraTop;
    }
    SeatRowView& rowFor(int seat) { return rows[seat == 2 ? rowOfSeat2 : rowOfSeat1]; }
    const SeatRowView& rowFor(int seat) const { return rows[seat == 2 ? rowOfSeat2 : rowOfSeat1]; }
};

} // namespace plimb
