#pragma once
// What a screen reader hears about a turn: the opponent's moves as the notices told them, with the
// board they leave; the words scored; the winner. A turn arrives as several notices in quick succession and a
// screen reader would cut each text short with the next, so the news gathers until the window says it at
// once.
#include <array>
#include <string>
#include <vector>

#include "core/client/feedback.h"
#include "core/client/viewstate.h"

namespace plimb {

// How the board speaks of a player: by name, or by seat ("Seat 2") while the seat waits for one.
std::string playerTitle(const std::string& name, int seat);

// A move of the opponent's in words: "put Q on 6", "moved Q from 2 to 9", "stole C from your
// board 1 to 10", "took Q off 3".
std::string saidMove(const BoardMove& move);

class TurnNews {
public:
    // The view as the window now shows it: the names and scores the news speaks of, the
    // opponent's board and whose turn it is. Returns whether it brought news: a winner shown anew.
    bool shown(const ViewState& view);
    // What happened since the last time, as the window plays it.
    void note(const Feedback& feedback);
    bool pending() const { return !moves_.empty() || !news_.empty(); }
    // Everything gathered, in one text: the moves and the board they leave, then the words and
    // the winner. Gathering starts anew.
    std::string take();

private:
    std::string rowTitle(int row) const;

    std::array<SeatRowView, 2> rows_{};
    std::array<int, 2> seats_{1, 2}; // the seat each row shows
    std::array<int, kBoardSlots + 1> farBoard_{};
    bool winnerShown_ = false;
    std::vector<std::string> moves_; // the opponent's, since the last announcement
    std::vector<std::string> news_;  // scored words and the winner
};

} // namespace plimb
