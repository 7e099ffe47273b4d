#include <gtest/gtest.h>

#include "core/rules/fakes.h"

using namespace plimb;
using namespace plimb::test;

namespace {
// The game fields of every record, comparable as a whole.
auto snapshot(const GameState& s) {
    std::vector<std::tuple<int, int, std::array<int, 7>, std::array<int, 11>>> out;
    for (const auto& p : s.seats)
        out.emplace_back(p.score, p.stealsused, p.hand, p.board);
    return out;
}
} // namespace

TEST(PlaceMyLetter, MovesTheLetterScoresAndPassesTheTurn) {
    GameFixture f;
    f.playing(2);
    f.hand(1, "abcde.");
    f.board(2, "c.t");
    f.hand(2, "xxaxxx");
    ASSERT_TRUE(f.game.placemyletter(2, 3, 2));
    EXPECT_EQ(f.board(2), "cat.......");
    EXPECT_EQ(f.hand(2), "xx.xxx");
    EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_placemyletter+2+3+2+1+",
                                                     "CMD_formedword+2+cat+5+5+", "CMD_nextplayer+1+5+"}));
    const auto toSeat1 = f.out.namesTo(1);
    EXPECT_EQ(toSeat1, (std::vector<std::string>{"CMD_placemyletter", "CMD_formedword", "CMD_newletter",
                                                 "CMD_nextplayer"}))
        << "the refill comes before the turn announcement";
    EXPECT_EQ(f.state.currentplayer, 1);
    EXPECT_TRUE(f.timer.running);
}

TEST(PlaceMyLetter, OverwritesAnOccupiedSlot) {
    GameFixture f;
    f.playing(1);
    f.board(1, "zzz");
    f.hand(1, "q.....");
    ASSERT_TRUE(f.game.placemyletter(1, 1, 2));
    EXPECT_EQ(f.board(1), "zqz.......");
}

TEST(Moves, RefusedWithoutReplyOrChange) {
    GameFixture f;
    f.playing(1);
    f.board(1, "ca.t");
    f.hand(1, "a.bcde");
    f.board(2, "dog");
    f.hand(2, "abcdef");
    const auto before = snapshot(f.state);

    EXPECT_FALSE(f.game.placemyletter(1, 2, 5)) << "empty hand slot";
    EXPECT_FALSE(f.game.discardletter(1, 3)) << "empty board slot";
    EXPECT_FALSE(f.game.discardextra(1, 2)) << "empty hand slot";
    EXPECT_FALSE(f.game.placemyletter(2, 1, 1)) << "not this seat's turn";
    EXPECT_FALSE(f.game.tradingmyletter(2, 1, 2));
    EXPECT_FALSE(f.game.discardletter(2, 1));
    EXPECT_FALSE(f.game.discardextra(2, 1));
    EXPECT_FALSE(f.game.stealinghisletter(2, 1, 1));
    for (int seat : {0, 3, 4, 9, 11, 12, -1}) {
        EXPECT_FALSE(f.game.placemyletter(seat, 1, 1)) << seat;
        EXPECT_FALSE(f.game.tradingmyletter(seat, 1, 2)) << seat;
        EXPECT_FALSE(f.game.stealinghisletter(seat, 1, 2)) << seat;
    }
    for (int slot : {0, 7, 11, -1, 1000000}) {
        EXPECT_FALSE(f.game.placemyletter(1, slot, 1)) << slot;
        EXPECT_FALSE(f.game.discardextra(1, slot)) << slot;
    }
    for (int slot : {0, 11, -1, 1000000}) {
        EXPECT_FALSE(f.game.placemyletter(1, 1, slot)) << slot;
        EXPECT_FALSE(f.game.tradingmyletter(1, slot, 1)) << slot;
        EXPECT_FALSE(f.game.tradingmyletter(1, 1, slot)) << slot;
        EXPECT_FALSE(f.game.discardletter(1, slot)) << slot;
        EXPECT_FALSE(f.game.stealinghisletter(1, slot, 1)) << slot;
        EXPECT_FALSE(f.game.stealinghisletter(1, 1, slot)) << slot;
    }
    EXPECT_TRUE(f.out.sent.empty());
    EXPECT_EQ(snapshot(f.state), before);
    EXPECT_TRUE(f.timer.running) << "a refused move leaves the clock running";
}

TEST(Moves, BeforeTheFirstGameNoSeatIsCurrent) {
    GameFixture f;
    f.hand(1, "abcdef");
    EXPECT_FALSE(f.game.placemyletter(0, 1, 1));
    EXPECT_FALSE(f.game.placemyletter(1, 1, 1));
    EXPECT_FALSE(f.game.placemyletter(2, 1, 1));
    f.game.turntimerTimer();
    EXPECT_TRUE(f.out.sent.empty());
}

TEST(TradingMyLetter, SwapsAnnouncesAndStopsTheClockForTheRestOfTheTurn) {
    GameFixture f;
    f.playing(1);
    f.board(1, "ab");
    ASSERT_TRUE(f.game.tradingmyletter(1, 1, 5));
    EXPECT_EQ(f.board(1), ".b..a.....");
    EXPECT_EQ(f.out.to(2), std::vector<std::string>{"CMD_tradingmyletter+1+1+0+5+1+"});
    EXPECT_FALSE(f.timer.running);
    EXPECT_EQ(f.state.currentplayer, 1) << "the player moves on";

    ASSERT_TRUE(f.game.tradingmyletter(1, 2, 2));
    EXPECT_EQ(f.out.to(2).back(), "CMD_tradingmyletter+1+2+2+2+2+")
        << "a slot with itself is still announced";
    EXPECT_EQ(f.timer.starts, 0);
    EXPECT_EQ(f.board(1), ".b..a.....");
}

TEST(DiscardLetter, EmptiesTheSlotAndTheRestMayScore) {
    GameFixture f;
    f.playing(1);
    f.board(1, "cats");
    ASSERT_TRUE(f.game.discardletter(1, 4));
    EXPECT_EQ(f.board(1), "cat.......");
    EXPECT_EQ(f.out.to(2),
              (std::vector<std::string>{"CMD_discardletter+1+4+", "CMD_formedword+1+cat+5+5+",
                                        "CMD_newletter+2+1+" + std::to_string(f.state.seats[2].hand[1]) + "+",
                                        "CMD_nextplayer+2+5+"}));
}

TEST(DiscardExtra, TellsOnlyTheMoverAndScoresTheBoard) {
    GameFixture f;
    f.playing(1);
    f.board(1, "tca");
    f.hand(1, "abcdef");
    ASSERT_TRUE(f.game.tradingmyletter(1, 1, 3));
    f.out.clear();
    ASSERT_TRUE(f.game.discardextra(1, 6));
    EXPECT_EQ(f.hand(1), "abcde.");
    EXPECT_EQ(f.out.to(1)[0], "CMD_discardextra+1+6+");
    EXPECT_EQ(f.out.namesTo(3), (std::vector<std::string>{"CMD_formedword", "CMD_nextplayer"}))
        << "others only see the score and the turn";
    EXPECT_EQ(f.state.seats[1].score, 5);
}

TEST(StealingHisLetter, CarriedOutOnlyForANewWord) {
    GameFixture f;
    f.playing(1, 30, 200, 2);
    f.board(1, "cat");
    f.board(2, "ds.z");
    f.hand(2, "abcdef");
    ASSERT_TRUE(f.game.stealinghisletter(1, 2, 4));
    EXPECT_EQ(f.board(1), "cats......");
    EXPECT_EQ(f.board(2), "d..z......");
    EXPECT_EQ(f.state.seats[1].stealsused, 1);
    EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_formedword+1+cats+6+6+",
                                                     "CMD_stoldletter+1+2+4+2+19+", "CMD_nextplayer+2+2+"}));
}

TEST(StealingHisLetter, RefusalsKeepTheTurnAndTheClock) {
    GameFixture f;
    f.playing(1, 30, 200, 2);
    f.board(1, "cat");
    f.board(2, "zs");
    f.state.formedwords[1] = {"cats"};

    EXPECT_FALSE(f.game.stealinghisletter(1, 1, 4)) << "cat + z is no word";
    EXPECT_FALSE(f.game.stealinghisletter(1, 2, 4)) << "cats was already scored";
    EXPECT_EQ(f.out.to(1), (std::vector<std::string>{"CMD_notvalid+1+", "CMD_notvalid+1+"}));
    EXPECT_TRUE(f.out.to(2).empty()) << "only the mover hears of it";
    EXPECT_EQ(f.board(1), "cat.......");
    EXPECT_EQ(f.board(2), "zs........");
    EXPECT_EQ(f.state.seats[1].stealsused, 0);
    EXPECT_TRUE(f.timer.running);
    EXPECT_EQ(f.state.currentplayer, 1);

    f.out.clear();
    f.state.seats[1].stealsused = 2;
    EXPECT_FALSE(f.game.stealinghisletter(1, 2, 4));
    EXPECT_EQ(f.out.sent, (std::vector<Sent>{{1, "CMD_toomany+1+"}}));
}

TEST(StealingHisLetter, RestoresWhatTheTargetSlotHeld) {
    GameFixture f;
    f.playing(1);
    f.board(1, "catz");
    f.board(2, "q");
    EXPECT_FALSE(f.game.stealinghisletter(1, 1, 4));
    EXPECT_EQ(f.board(1), "catz......");
}

TEST(StealingHisLetter, NoStealsAllowedAnswersTooMany) {
    GameFixture f;
    f.playing(2, 30, 200, 0);
    f.board(2, "cat");
    f.board(1, "s");
    EXPECT_FALSE(f.game.stealinghisletter(2, 1, 4));
    EXPECT_EQ(f.out.sent, (std::vector<Sent>{{2, "CMD_toomany+2+"}}));
}

TEST(StealingHisLetter, UnlimitedStealsNeverRunOut) {
    GameFixture f;
    f.playing(1, 30, 200, kUnlimitedSteals);
    f.board(1, "a");
    f.board(2, "ct..s");
    f.hand(1, "abcdef");
    f.hand(2, "abcdef");
    ASSERT_TRUE(f.game.stealinghisletter(1, 2, 2)); // at
    EXPECT_EQ(f.state.seats[1].stealsused, 0);
    f.state.currentplayer = 1;
    f.board(1, ".at");
    ASSERT_TRUE(f.game.stealinghisletter(1, 1, 1)); // cat
    EXPECT_EQ(f.state.seats[1].stealsused, 0);
    EXPECT_EQ(f.out.to(3).back(), "CMD_nextplayer+2+10000+");
}
