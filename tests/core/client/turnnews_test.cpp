#include <gtest/gtest.h>

#include "core/client/turnnews.h"

using namespace plimb;

namespace {
constexpr auto My = SlotFamily::MyLetter, His = SlotFamily::HisLetter, Hand = SlotFamily::Extra;
constexpr auto In = SlotChangeKind::Arrived, Out = SlotChangeKind::Left, Won = SlotChangeKind::Scored;
constexpr int C = 3, N = 14, Q = 17, R = 18, U = 21, Z = 26;

// Me (score 7) in the near row, the far row (score 22) with the turn, its board reading `board`.
ViewState table(const std::string& board, bool farTurn = true, const std::string& far = "Bo",
                int rowOfSeat1 = 0) {
    ViewState v;
    v.rows[0].name = "Me", v.rows[0].score = "7";
    v.rows[1].name = far, v.rows[1].score = "22", v.rows[1].turn = farTurn;
    v.rowOfSeat1 = rowOfSeat1, v.rowOfSeat2 = 1 - rowOfSeat1;
    for (std::size_t n = 1; n <= board.size(); ++n)
        v.hisletter[n] = {board[n - 1] != ' ', letterCode(board[n - 1]), false};
    return v;
}
} // namespace

TEST(TurnNews, SaysTheOpponentsMovesWithTheBoardTheyLeaveAndTheWordsScored) {
    using K = BoardMoveKind;
    struct Row {
        const char* name;
        ViewState view;
        Feedback feedback;
        std::string said;
    };
    // clang-format off
    const Row rows[] = {
        {"moved, then the same letter put on", table("  UIZ   QQ"),
         {{{His, 2, Out, Q}, {His, 9, In, Q}, {His, 10, In, Q}}, {{K::Moved, 2, 9, Q}, {K::Put, 0, 10, Q}}},
         "Bo moved Q from 2 to 9, put Q on 10; the board reads UIZ   QQ"},
        {"stolen to the same number", table("   N"), {{{My, 4, Out, N}, {His, 4, In, N}}, {{K::Stole, 4, 4, N}}},
         "Bo stole N from your board 4 to 4; the board reads N"},
        {"taken off by a waiting seat", table("", true, "<Waiting>"), {{{His, 2, Out, R}}, {{K::TookOff, 2, 0, R}}},
         "Seat 2 took R off 2; the board reads nothing"},
        {"a seat 2 client hears seat 1", table("Q", true, "", 1), {{{His, 1, In, Q}}, {{K::Put, 0, 1, Q}}},
         "Seat 1 put Q on 1; the board reads Q"},
        {"the hand and my board's arrivals are no move", table("Q"),
         {{{Hand, 1, Out, C}, {Hand, 2, In, U}, {My, 3, In, U}}, {}}, ""},
        {"scored words in slot order, the near row first", table("", false),
         {{{His, 5, Won, Z}, {My, 2, Won, R}, {His, 2, Won, Q}}, {}},
         "Me scored R, score 7. Bo scored QZ, score 22"},
    };
    // clang-format on
    for (const Row& row : rows) {
        TurnNews news;
        news.shown(row.view);
        news.note(row.feedback);
        EXPECT_EQ(news.pending(), !row.said.empty()) << row.name;
        EXPECT_EQ(news.take(), row.said) << row.name;
        EXPECT_FALSE(news.pending()) << row.name;
    }
}
