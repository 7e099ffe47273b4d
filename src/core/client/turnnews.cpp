#include "core/client/turnnews.h"
#include "core/net/board.h"

#include <algorithm>
#include <utility>

namespace plimb {
namespace {

char letter(int code) {
    return upperLetter(code, ' ');
}

std::string join(const std::vector<std::string>& parts, const std::string& between) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : between) + parts[i];
    return out;
}

} // namespace

std::string playerTitle(const std::string& name, int seat) {
    if (name.empty() || name == kWaitingName) return "Seat " + std::to_string(seat);
    return name;
}

std::string saidMove(const BoardMove& move) {
    const std::string what(1, letter(move.code));
    const std::string from = std::to_string(move.from), to = std::to_string(move.to);
    switch (move.kind) {
    case BoardMoveKind::Put:
        return "put " + what + " on " + to;
    case BoardMoveKind::Moved:
        return "moved " + what + " from " + from + " to " + to;
    case BoardMoveKind::Stole:
        return "stole " + what + " from your board " + from + " to " + to;
    case BoardMoveKind::TookOff:
        break;
    }
    return "took " + what + " off " + from;
}

bool TurnNews::shown(const ViewState& view) {
    rows_ = view.rows;
    const int nearSeat = view.rowOfSeat1 == 0 ? 1 : 2;
    seats_ = {nearSeat, 3 - nearSeat};
    farBoard_ = shownSlots(view).hisletter;
    const bool winner = view.winnerVisible && !winnerShown_;
    if (winner) news_.push_back(view.winnerText);
    winnerShown_ = view.winnerVisible;
    return winner;
}

void TurnNews::note(const Feedback& feedback) {
    const std::vector<SlotChange>& changes = feedback.changes;
    // The near row shows the own board, the far row the opponent's.
    for (const SlotFamily family : {SlotFamily::MyLetter, SlotFamily::HisLetter}) {
        std::vector<std::pair<int, int>> scored; // slot, code
        for (const SlotChange& c : changes)
            if (c.kind == SlotChangeKind::Scored && c.family == family) scored.emplace_back(c.slot, c.code);
        if (scored.empty()) continue;
        std::sort(scored.begin(), scored.end());
        std::string word;
        for (const auto& [slot, code] : scored)
            word += letter(code);
        const int row = family == SlotFamily::MyLetter ? 0 : 1;
        news_.push_back(rowTitle(row) + " scored " + word + ", score " + rows_[row].score);
    }
    for (const BoardMove& move : feedback.farMoves)
        moves_.push_back(saidMove(move));
}

std::string TurnNews::take() {
    std::vector<std::string> said;
    if (!moves_.empty()) {
        std::string board;
        for (int n = 1; n <= kBoardSlots; ++n)
            board += letter(farBoard_[n]);
        board.erase(0, board.find_first_not_of(' '));
        board.erase(board.find_last_not_of(' ') + 1);
        said.push_back(rowTitle(1) + " " + join(moves_, ", ") + "; the board reads " +
                       (board.empty() ? "nothing" : board));
    }
    said.insert(said.end(), news_.begin(), news_.end());
    moves_.clear();
    news_.clear();
    return join(said, ". ");
}

std::string TurnNews::rowTitle(int row) const {
    return playerTitle(rows_[row].name, seats_[row]);
}

} // namespace plimb
