#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "core/rules/fakes.h"

using namespace plimb;
using namespace plimb::test;

TEST(Random, FollowsTheLinearCongruentialFormula) {
    // state := state * 134775813 + 1 (mod 2^32); value = (state * n) >> 32.
    // 12345 * 134775813 + 1 = 1663807411486 = 387 * 2^32 + 1655067934 -> 1655067934 * 30 >> 32 = 11
    Random r(12345);
    EXPECT_EQ(r(30), 11);
    EXPECT_EQ(r.state(), 1655067934u);
    EXPECT_EQ(r(2), 0);  // state 1242767767
    EXPECT_EQ(r(26), 2); // state 342459380
    EXPECT_EQ(r(6), 3);  // state 2377737157
    EXPECT_EQ(r(100), 63);
    EXPECT_EQ(seedFromTimeOfDay(1, 2, 3, 4), 3723004u);
}

TEST(LetterTables, WorthAndCharacter) {
    const std::string letters = "abcdefghijklmnopqrstuvwxyz";
    const std::array<int, 26> worth = {1, 3, 3, 1,  1, 5, 3, 3, 1, 5, 5,  1, 3,
                                       1, 1, 3, 10, 1, 1, 1, 1, 7, 5, 10, 3, 10};
    for (int c = 1; c <= 26; ++c) {
        EXPECT_EQ(Game::letterworth(c), worth[c - 1]) << letters[c - 1];
        EXPECT_EQ(Game::convertoletter(c), std::string(1, letters[c - 1]));
    }
    for (int c : {0, -1, 27, 1000}) {
        EXPECT_EQ(Game::letterworth(c), 1);
        EXPECT_EQ(Game::convertoletter(c), " ");
    }
}

namespace {

std::array<int, 27> drawMany(GameFixture& f, int seat, int draws) {
    std::array<int, 27> counts{};
    for (int i = 0; i < draws; ++i) {
        const int letter = f.game.getletter(seat);
        EXPECT_TRUE(letter >= 1 && letter <= 26);
        ++counts[static_cast<std::size_t>(letter)];
    }
    return counts;
}

// Within six standard deviations of a binomial count: loose enough for any seed, tight enough
// to tell 27/390 from 14/390.
void expectShare(int count, int draws, double p, const char* what) {
    const double sigma = std::sqrt(draws * p * (1 - p));
    EXPECT_NEAR(count, draws * p, 6 * sigma) << what;
}

} // namespace

TEST(GetLetter, FavoursVowelsAndHalvesTheHardLetters) {
    GameFixture f({}, {}, 777);
    const int n = 390000;
    const auto counts = drawMany(f, 1, n);
    for (int c : {1, 5, 9, 15})
        expectShare(counts[c], n, 27.0 / 390, "vowel");
    for (int c : {10, 17, 24, 26})
        expectShare(counts[c], n, 1.0 / 52, "hard letter");
    for (int c : {2, 3, 4, 6, 20, 25})
        expectShare(counts[c], n, 14.0 / 390, "other");
    EXPECT_EQ(f.hand(1), "......") << "drawing changes nothing";
}

TEST(GetLetter, ALetterHeldInHandOrFirstFourBoardSlotsIsUsuallyRedrawn) {
    const int n = 200000;
    const double pe = 27.0 / 390;
    {
        GameFixture f({}, {}, 99);
        f.hand(1, "e.e...");
        f.board(1, "...e");
        // e is kept with 1/5 and comes back from the uniform redraw with (4/5) * (1/26).
        expectShare(drawMany(f, 1, n)[5], n, pe * (1.0 / 5 + 4.0 / 5 / 26), "e held three times");
    }
    {
        GameFixture f({}, {}, 99);
        f.hand(1, ".....e");
        expectShare(drawMany(f, 1, n)[5], n, pe * (1.0 / 3 + 2.0 / 3 / 26), "e held once, in hand slot 6");
    }
    {
        GameFixture f({}, {}, 99);
        f.board(1, "....eeeeee");
        expectShare(drawMany(f, 1, n)[5], n, pe, "board slots 5..10 do not count");
    }
}

TEST(GetLetter, UsesOneDrawForAnUnheldEasyLetter) {
    // Seed 12345 gives 11 + 1 = k: no hard letter, nothing held, so exactly one draw is made.
    GameFixture f({}, {}, 12345);
    EXPECT_EQ(f.game.getletter(1), 12);
    Random probe(12345);
    probe(30);
    EXPECT_EQ(f.random.state(), probe.state());
}

TEST(Deal, FiveLettersToRecordsOneToThreeThenSeatTwoGetsTheFirstTurn) {
    GameFixture f;
    f.state.seats[4].inuse = true; // a spectator beyond record 3 gets no letters
    f.state.seatcount = 4;
    f.game.startgame("Ann", 30, 200, 5);

    for (int seat : {1, 3}) {
        const auto texts = f.out.to(seat);
        ASSERT_EQ(texts.size(), 4u) << seat;
        EXPECT_EQ(texts[0], "CMD_startgame+Ann+30+200+5+");
        EXPECT_EQ(texts[1], "CMD_gamekey+0.1+");
        std::string expected = "CMD_letters+" + std::to_string(seat);
        for (int h = 1; h <= 5; ++h)
            expected += "+" + std::to_string(h) + "+" + std::to_string(f.state.seats[seat].hand[h]);
        EXPECT_EQ(texts[2], expected);
        EXPECT_EQ(texts[3], "CMD_nextplayer+2+5+");
        EXPECT_EQ(f.state.seats[seat].hand[6], 0);
    }
    EXPECT_EQ(f.out.namesTo(2), (std::vector<std::string>{"CMD_startgame", "CMD_gamekey", "CMD_letters",
                                                          "CMD_newletter", "CMD_nextplayer"}));
    EXPECT_EQ(f.out.to(2)[3], "CMD_newletter+2+6+" + std::to_string(f.state.seats[2].hand[6]) + "+");
    EXPECT_EQ(f.out.namesTo(4), (std::vector<std::string>{"CMD_startgame", "CMD_gamekey", "CMD_nextplayer"}));
    EXPECT_EQ(f.state.currentplayer, 2);
    EXPECT_TRUE(f.timer.running);
    EXPECT_EQ(f.state.timermode, TimerMode::Human);
    EXPECT_EQ(f.state.turncountdown, 32);
}

TEST(Deal, DrawsInRecordAndSlotOrderFromTheSharedGenerator) {
    GameFixture a({}, {}, 4242);
    a.game.startgame("x", 30, 200, 5);
    // The same draws made one by one, record by record, into empty hands give the same letters.
    GameFixture b({}, {}, 4242);
    for (int record = 1; record <= 3; ++record)
        for (int h = 1; h <= 5; ++h)
            b.state.seats[record].hand[h] = b.game.getletter(record);
    b.state.seats[2].hand[6] = b.game.getletter(2);
    for (int record = 1; record <= 3; ++record)
        EXPECT_EQ(a.hand(record), b.hand(record)) << record;
}

TEST(Refill, FirstEmptySlotOnlyAndNothingForAFullHand) {
    GameFixture f;
    f.playing(2);
    f.hand(1, "ab.c.d");
    f.game.findplayer();
    EXPECT_NE(f.state.seats[1].hand[3], 0);
    EXPECT_EQ(f.state.seats[1].hand[5], 0);
    EXPECT_EQ(f.out.to(1).front(), "CMD_newletter+1+3+" + std::to_string(f.state.seats[1].hand[3]) + "+");

    f.out.clear();
    f.hand(2, "abcdef");
    f.game.findplayer();
    EXPECT_EQ(f.hand(2), "abcdef");
    EXPECT_EQ(f.out.namesTo(2), std::vector<std::string>{"CMD_nextplayer"});
}
