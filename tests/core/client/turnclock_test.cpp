#include <gtest/gtest.h>

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

TEST(TurnClock, BarStepFollowsTimePerTurn) {
    EXPECT_EQ(TurnClock::barStep(30), 6);
    EXPECT_EQ(TurnClock::barStep(20), 9);
    EXPECT_EQ(TurnClock::barStep(120), 1);
    EXPECT_EQ(TurnClock::barStep(0), 0);
    EXPECT_EQ(TurnClock::barStep(-5), 0);
}

TEST(TurnClock, ThirtySecondTurnTicksTwelveTimes) {
    ClientFixture c;
    c.seatAs(3);
    c.startGame();
    c.turnOf(2);
    c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().turntime, "Time: 0:29");
    EXPECT_EQ(c.model.view().timerWidth, 174);
    for (int i = 0; i < 28; ++i)
        c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().turntime, "Time: 0:01");
    EXPECT_EQ(c.sink.sounds, std::vector<std::string>(12, "tick"));
    for (int i = 0; i < 3; ++i)
        c.model.turntimerTimer();
    EXPECT_EQ(c.model.clock().secondsLeft(), -2) << "keeps counting below zero";
    EXPECT_EQ(c.model.view().turntime, "Time: 0:00");
    EXPECT_EQ(c.model.view().timerWidth, 0);
    EXPECT_EQ(c.sink.sounds.size(), 12u) << "silently";
}

TEST(TurnClock, MinutesAndPaddedSeconds) {
    ClientFixture c;
    c.seatAs(1);
    c.feed(build::startgame("Ann", "66", "200", "5"));
    c.turnOf(1);
    c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().turntime, "Time: 1:05");
    for (int i = 0; i < 55; ++i)
        c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().turntime, "Time: 0:10") << "ten seconds: two digits, no padding";
    c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().turntime, "Time: 0:09");
    EXPECT_EQ(c.model.view().timerWidth, 9 * 2);
}

TEST(TurnClock, ZeroTimePerTurnShowsAnEmptyBar) {
    ClientFixture c;
    c.seatAs(1);
    c.feed(build::startgame("Ann", "0", "200", "5"));
    c.turnOf(1);
    c.model.turntimerTimer();
    EXPECT_EQ(c.model.view().timerWidth, 0);
    EXPECT_EQ(c.model.view().turntime, "Time: 0:00");
}

TEST(TurnClock, MoveAnswersStopItAndRearrangingFreezesIt) {
    ClientFixture c;
    c.seatAs(3);
    c.startGame();
    c.turnOf(1);
    EXPECT_TRUE(c.model.clock().running());
    c.feed(build::tradingmyletter(1, 1, 2, 3, 4));
    EXPECT_FALSE(c.model.clock().running());
    EXPECT_FALSE(c.sink.timerOn);
    for (const auto& m : {build::placemyletter(1, 0, 2, 3), build::discardletter(1, 2),
                          build::formedword(1, "at", 2, 2), build::winner(1)}) {
        c.turnOf(1);
        c.feed(m);
        EXPECT_FALSE(c.sink.timerOn) << m;
    }
    c.turnOf(1);
    c.feed(build::discardextra(1, 1));
    EXPECT_FALSE(c.sink.timerOn) << "stops even for another seat's hand";
}
