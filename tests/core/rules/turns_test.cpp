#include <gtest/gtest.h>

#include "core/rules/fakes.h"

using namespace plimb;
using namespace plimb::test;

TEST(TurnTimer, TimeOutEmptiesARandomHandSlotAndPassesTheTurn) {
    GameFixture f({"cat"}, {"aa", "zz"}, 31337);
    f.playing(1, 3);
    f.hand(1, "abcdef");
    f.hand(2, "abcdef");
    f.board(1, "cat"); // never checked on a time-out
    for (int tick = 1; tick <= 4; ++tick) {
        f.game.turntimerTimer();
        EXPECT_TRUE(f.out.sent.empty()) << tick;
    }
    Random probe(31337);
    const int slot = probe(6) + 1;
    f.game.turntimerTimer();
    EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_timeup+", "CMD_nextplayer+2+5+"}));
    EXPECT_EQ(f.out.to(1),
              (std::vector<std::string>{"CMD_timeup+", "CMD_discardextra+1+" + std::to_string(slot) + "+",
                                        "CMD_nextplayer+2+5+"}));
    EXPECT_EQ(f.state.seats[1].hand[slot], 0);
    EXPECT_EQ(f.state.seats[1].score, 0);
    EXPECT_EQ(f.state.currentplayer, 2);
    EXPECT_EQ(f.state.turncountdown, 5);
    EXPECT_TRUE(f.timer.running);
}

TEST(TurnTimer, ComputerTurnsAndJustWatch) {
    GameFixture f;
    f.state.seats[2].inuse = false;
    f.game.startgame("solo", 30, 200, 5);
    EXPECT_EQ(f.state.timermode, TimerMode::Computer) << "seat 2 without a connection is the computer";
    EXPECT_EQ(f.state.turncountdown, 2);
    f.game.turntimerTimer();
    EXPECT_EQ(f.state.currentplayer, 2);
    f.game.turntimerTimer();
    EXPECT_EQ(f.state.currentplayer, 1) << "the computer moved two ticks after its turn began";
    EXPECT_EQ(f.state.timermode, TimerMode::Human);

    f.state.seats[1].watchonly = true;
    f.game.justWatchStarted(2);
    EXPECT_EQ(f.state.timermode, TimerMode::Human) << "not that seat's turn";
    f.game.justWatchStarted(1);
    EXPECT_EQ(f.state.timermode, TimerMode::Computer);
    EXPECT_EQ(f.state.turncountdown, 1);
    EXPECT_TRUE(f.timer.running);
    f.game.turntimerTimer();
    EXPECT_EQ(f.state.currentplayer, 2) << "the computer moved for the watcher one tick later";
}

TEST(TurnTimer, SeatTwoLeavingDuringItsTurnPassesIt) {
    GameFixture f;
    f.game.startgame("x", 30, 200, 5);
    ASSERT_EQ(f.state.currentplayer, 2);
    f.game.seatLeft(1);
    EXPECT_EQ(f.state.currentplayer, 2);
    f.state.seats[2].inuse = false;
    f.game.seatLeft(2);
    EXPECT_EQ(f.state.currentplayer, 1);
    f.game.seatLeft(1);
    EXPECT_EQ(f.state.currentplayer, 1) << "the host's own seat never passes this way";
}

TEST(ReplayTo, SendsHandBoardsAndStatsDuringAGameAndAlwaysTheTable) {
    GameFixture f;
    f.state.seats[4].inuse = true;
    f.state.seatcount = 4;
    f.state.session = 77;
    f.game.replayTo(2);
    EXPECT_EQ(f.out.to(2), std::vector<std::string>{"CMD_tablestate+77.0+0+0+0+0+"}) << "no game yet";

    f.playing(1, 45, 300, kUnlimitedSteals);
    f.state.gamenumber = 3;
    f.state.turnnumber = 6;
    f.state.turnticks = 4;
    f.state.turnclockrunning = true;
    f.state.seats[1].watchonly = true;
    f.state.formedwords[2] = {"zany", "quartz"};
    f.hand(2, "a.c...");
    f.board(1, ".b");
    f.board(2, "z........y");
    f.state.seats[1].score = 7;
    f.state.seats[2].score = 9;
    f.out.clear();
    f.game.replayTo(2);
    EXPECT_EQ(f.out.to(2), (std::vector<std::string>{
                               "CMD_letters+2+1+1+3+3", "CMD_placetheletters+1+2+2+2+1+26+2+10+25",
                               "CMD_gamestats+45+300+10000+7+9+",
                               // zany 10+1+1+3; quartz (10+1+1+1+1+10) x 2 for six letters
                               "CMD_tablestate+77.3+1+6+1+41+1+10000+10000+1+0+zany+15+quartz+48+"}));
    f.game.replayTo(4);
    EXPECT_EQ(f.out.namesTo(4),
              (std::vector<std::string>{"CMD_placetheletters", "CMD_gamestats", "CMD_tablestate"}))
        << "a spectator has neither hand nor words";
    EXPECT_EQ(f.out.to(4).back(), "CMD_tablestate+77.3+1+6+1+41+1+10000+10000+1+0+");

    // After the game its tiles stay; the table says who won.
    f.state.gamerunning = false;
    f.state.lastwinner = 2;
    f.out.clear();
    f.game.replayTo(4);
    EXPECT_EQ(f.out.to(4), (std::vector<std::string>{"CMD_placetheletters+1+2+2+2+1+26+2+10+25",
                                                     "CMD_tablestate+77.3+0+2+7+9+"}));
}

TEST(StartGame, ARunningGameIsResetAndDealtAgain) {
    GameFixture f;
    f.game.startgame("a", 30, 200, 5);
    f.state.seats[1].score = 50;
    f.state.seats[2].stealsused = 3;
    f.state.seats[3].watchonly = true;
    f.state.formedwords[2] = {"cat"};
    f.board(1, "abc");
    f.game.startgame("b", 60, 500, kUnlimitedSteals);
    EXPECT_EQ(f.state.seats[1].score, 0);
    EXPECT_EQ(f.state.seats[2].stealsused, 0);
    EXPECT_FALSE(f.state.seats[3].watchonly);
    EXPECT_TRUE(f.state.formedwords[2].empty());
    EXPECT_EQ(f.board(1), "..........");
    EXPECT_EQ(f.state.playtoscore, 500);
    EXPECT_EQ(f.out.to(3).back(), "CMD_nextplayer+2+10000+");
}
