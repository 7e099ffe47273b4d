// What the model hands the window to animate after each notice: every tile that arrived, left or
// scored, in the view of the client that received it.
#include <gtest/gtest.h>

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

namespace {

using Changes = std::vector<SlotChange>;
constexpr auto My = SlotFamily::MyLetter;
constexpr auto His = SlotFamily::HisLetter;
constexpr auto Hand = SlotFamily::Extra;
constexpr auto Arrived = SlotChangeKind::Arrived;
constexpr auto Left = SlotChangeKind::Left;
constexpr auto Scored = SlotChangeKind::Scored;

// Seat `seat` at a running game where seat 1 has C A T in slots 1..3 and seat 2 has O X in 1..2,
// with the deal already taken.
struct Table : ClientFixture {
    explicit Table(int seat) {
        seatAs(seat);
        startGame();
        feed(build::placetheletters({{1, 1, 3}, {1, 2, 1}, {1, 3, 20}, {2, 1, 15}, {2, 2, 24}}));
        model.takeFeedback();
    }
    Changes after(const std::string& notice) { return told(notice).changes; }
    Feedback told(const std::string& notice) {
        feed(notice);
        return model.takeFeedback();
    }
};

} // namespace

// Beside the changes, the moves made on the far board, as their notices tell them.
TEST(Feedback, EachMoveShowsWhatArrivedAndWhatLeftInThisClientsView) {
    using K = BoardMoveKind;
    struct Row {
        int seat;
        std::string notice;
        Changes expected;
        std::vector<BoardMove> farMoves;
    };
    const Row rows[] = {
        // the opponent's moves, seen by seat 1
        {1, build::placemyletter(2, 4, 3, 5), {{His, 3, Arrived, 5}}, {{K::Put, 0, 3, 5}}},
        {1,
         build::placemyletter(2, 4, 2, 5),
         {{His, 2, Left, 24}, {His, 2, Arrived, 5}},
         {{K::Put, 0, 2, 5}}},
        {1, build::discardletter(2, 1), {{His, 1, Left, 15}}, {{K::TookOff, 1, 0, 15}}},
        {1, build::discardletter(2, 7), {}, {}}, // an empty slot: nothing was taken off
        {1,
         build::stoldletter(2, 1, 3, 2, 1),
         {{My, 2, Left, 1}, {His, 3, Arrived, 1}},
         {{K::Stole, 2, 3, 1}}},
        {1,
         build::tradingmyletter(2, 1, 24, 2, 15),
         {{His, 1, Left, 15}, {His, 1, Arrived, 24}, {His, 2, Left, 24}, {His, 2, Arrived, 15}},
         {{K::Moved, 2, 1, 24}, {K::Moved, 1, 2, 15}}},
        {1,
         build::tradingmyletter(2, 2, 0, 6, 24),
         {{His, 2, Left, 24}, {His, 6, Arrived, 24}},
         {{K::Moved, 2, 6, 24}}},
        {1, build::tradingmyletter(2, 1, 15, 1, 15), {}, {}}, // a slot traded with itself
        // the same moves seen by seat 2, whose own board is near: its own moves are no news
        {2, build::discardletter(2, 1), {{My, 1, Left, 15}}, {}},
        {2,
         build::stoldletter(1, 2, 4, 2, 24),
         {{My, 2, Left, 24}, {His, 4, Arrived, 24}},
         {{K::Stole, 2, 4, 24}}},
        // and by a spectator, who sees seat 1 near and hears of seat 2
        {3, build::discardletter(1, 3), {{My, 3, Left, 20}}, {}},
        {3, build::placemyletter(2, 0, 5, 9), {{His, 5, Arrived, 9}}, {{K::Put, 0, 5, 9}}},
    };
    for (const Row& row : rows) {
        Table t(row.seat);
        const Feedback told = t.told(row.notice);
        EXPECT_EQ(told.changes, row.expected) << "seat " << row.seat << ": " << row.notice;
        EXPECT_EQ(told.farMoves, row.farMoves) << "seat " << row.seat << ": " << row.notice;
        EXPECT_TRUE(t.model.takeFeedback().empty()) << "taking the changes clears them";
    }
}

TEST(Feedback, OwnHandLettersArriveAndLeave) {
    Table t(1);
    EXPECT_EQ(t.after(build::newletter(1, 6, 11)), (Changes{{Hand, 6, Arrived, 11}}));
    EXPECT_EQ(t.after(build::placemyletter(1, 6, 4, 11)),
              (Changes{{My, 4, Arrived, 11}, {Hand, 6, Left, 11}}));
    t.feed(build::newletter(1, 2, 7));
    t.model.takeFeedback();
    EXPECT_EQ(t.after(build::discardextra(1, 2)), (Changes{{Hand, 2, Left, 7}}))
        << "thrown away or lost to a time-out";
    EXPECT_TRUE(t.after(build::newletter(2, 1, 5)).empty()) << "another seat's hand is never shown";
}

TEST(Feedback, AScoredWordGlowsWhereItStands) {
    Table t(2);
    EXPECT_EQ(t.after(build::formedword(1, "at", 2, 2)),
              (Changes{{His, 2, Scored, 1}, {His, 3, Scored, 20}}));
    EXPECT_EQ(t.after(build::formedword(1, "cat", 5, 7)),
              (Changes{{His, 1, Scored, 3}, {His, 2, Scored, 1}, {His, 3, Scored, 20}}));
    EXPECT_TRUE(t.after(build::formedword(2, "zoo", 3, 3)).empty())
        << "a word not on the board glows nowhere";
}

TEST(Feedback, AGameStartAndALatecomersCatchUpAreNotMoves) {
    Table t(1);
    EXPECT_TRUE(t.after(build::startgame("Ann", "30", "200", "5")).empty()) << "the boards are cleared";
    EXPECT_TRUE(t.after(build::placetheletters({{1, 1, 3}, {2, 1, 4}})).empty());
    EXPECT_EQ(t.after(build::letters(1, {{1, 2}, {2, 3}})),
              (Changes{{Hand, 1, Arrived, 2}, {Hand, 2, Arrived, 3}}))
        << "a dealt hand arrives";
}
