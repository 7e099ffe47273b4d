#include <gtest/gtest.h>

#include "core/rules/fakes.h"

using namespace plimb;
using namespace plimb::test;

TEST(CheckWord, ScoresAWordAnywhereOnTheBoard) {
    GameFixture f;
    f.playing(1);
    f.board(1, ".cat");
    EXPECT_TRUE(f.game.checkword(1));
    EXPECT_EQ(f.state.seats[1].score, 5);
    EXPECT_EQ(f.state.formedwords[1], std::vector<std::string>{"cat"});
    for (int seat = 1; seat <= 3; ++seat)
        EXPECT_EQ(f.out.to(seat), std::vector<std::string>{"CMD_formedword+1+cat+5+5+"});

    f.board(1, "quartz");
    EXPECT_TRUE(f.game.checkword(1));
    EXPECT_EQ(f.out.sent.back().text, "CMD_formedword+1+quartz+48+53+");
}

TEST(CheckWord, AGapOrALoneLetterNeverScores) {
    GameFixture f({"cat", "ca", "at"});
    f.playing(1);
    for (auto board : {"ca.t", "c.at", "a", ".....t", "c..a..t", "a.t"}) {
        f.board(1, board);
        EXPECT_FALSE(f.game.checkword(1)) << board;
    }
    EXPECT_TRUE(f.out.sent.empty());
    EXPECT_EQ(f.state.seats[1].score, 0);
}

TEST(CheckWord, LengthBonusTable) {
    // Words of a's are worth their length; the bonus multiplies that.
    std::vector<std::string> words;
    for (int len = 2; len <= 10; ++len)
        words.emplace_back(static_cast<std::size_t>(len), 'a');
    const int expected[11] = {0, 0, 2, 3, 4, 5, 12, 21, 32, 45, 60};
    for (int len = 2; len <= 10; ++len) {
        GameFixture f(words);
        f.playing(2);
        f.board(2, std::string(static_cast<std::size_t>(len), 'a'));
        ASSERT_TRUE(f.game.checkword(2));
        EXPECT_EQ(f.state.seats[2].score, expected[len]) << len << " letters";
    }
}

TEST(CheckWord, TenLetterWordWorthTwentyScoresOneHundredTwenty) {
    GameFixture f;
    f.playing(2);
    f.board(2, "interviews"); // 1+1+1+1+1+7+1+1+5+1 = 20, x6
    ASSERT_TRUE(f.game.checkword(2));
    EXPECT_EQ(f.out.sent.back().text, "CMD_formedword+2+interviews+120+120+");
}

TEST(CheckWord, AWordScoresOncePerSeatAndGame) {
    GameFixture f;
    f.playing(1);
    f.board(1, "cat");
    ASSERT_TRUE(f.game.checkword(1));
    f.out.clear();
    f.board(1, "...cat");
    EXPECT_FALSE(f.game.checkword(1)) << "the same word elsewhere on the board";
    EXPECT_TRUE(f.out.sent.empty());
    EXPECT_EQ(f.state.seats[1].score, 5);

    f.board(2, "cat");
    EXPECT_TRUE(f.game.checkword(2)) << "the other seat may score it";

    f.game.startgame("x", 30, 200, 5);
    f.board(1, "cat");
    EXPECT_TRUE(f.game.checkword(1)) << "a new game forgets the formed words";
}

TEST(CheckWord, MatchingIgnoresCaseOfStoredEntries) {
    GameFixture f;
    f.playing(1);
    f.state.formedwords[1] = {"CAT"};
    f.board(1, "cat");
    EXPECT_FALSE(f.game.checkword(1));
}

TEST(CheckWord, SeatsBeyondThreeHaveNoListButDoNotCrash) {
    GameFixture f;
    f.playing(1);
    f.board(4, "cat");
    EXPECT_TRUE(f.game.checkword(4));
    EXPECT_TRUE(f.game.checkword(4)) << "without a list the word counts as never scored";
    EXPECT_FALSE(f.game.checkword(0));
    EXPECT_FALSE(f.game.checkword(12));
    EXPECT_FALSE(f.game.checkword(-3));
}

TEST(CheckForWin, NeedsTheTargetAndTheLead) {
    GameFixture f;
    f.playing(2, 30, 200);
    f.state.seats[1].score = 200;
    f.state.seats[2].score = 200;
    EXPECT_FALSE(f.game.checkforwin()) << "a tie never wins";
    f.state.seats[2].score = 199;
    EXPECT_FALSE(f.game.checkforwin()) << "the mover is below the target";
    EXPECT_TRUE(f.state.gamerunning);
    EXPECT_TRUE(f.out.sent.empty());

    f.state.currentplayer = 1;
    f.state.seats[1].score = 200;
    f.state.seats[2].score = 180;
    EXPECT_TRUE(f.game.checkforwin()) << "exactly the target, while ahead, wins";
    EXPECT_FALSE(f.state.gamerunning);
    EXPECT_FALSE(f.timer.running);
    EXPECT_EQ(f.out.to(3), std::vector<std::string>{"CMD_winner+1+"});
}

TEST(CheckForWin, TheWinningMoveEndsTheGameWithoutAnotherTurn) {
    GameFixture f;
    f.playing(1, 30, 200);
    f.state.seats[1].score = 198;
    f.state.seats[2].score = 180;
    f.board(1, "ca");
    f.hand(1, "tbbbbb");
    ASSERT_TRUE(f.game.placemyletter(1, 1, 3));
    EXPECT_EQ(f.out.namesTo(3),
              (std::vector<std::string>{"CMD_placemyletter", "CMD_formedword", "CMD_winner"}));
    EXPECT_EQ(f.state.currentplayer, 1);
    EXPECT_FALSE(f.state.gamerunning);

    // The winner is still the current player: a further move is carried out and the winner is
    // announced again, with no turn passing.
    f.out.clear();
    ASSERT_TRUE(f.game.discardextra(1, 2));
    EXPECT_EQ(f.out.to(1), (std::vector<std::string>{"CMD_discardextra+1+2+", "CMD_winner+1+"}));
    EXPECT_FALSE(f.game.placemyletter(2, 1, 1));
    f.game.turntimerTimer();
    EXPECT_EQ(f.out.sent.size(), 4u) << "the timer does nothing once the game is over";
}
