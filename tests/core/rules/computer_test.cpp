#include <gtest/gtest.h>

#include "core/rules/fakes.h"

using namespace plimb;
using namespace plimb::test;

namespace {

// The computer plays seat 2; its notices to seat 2 are recorded because the seat stays
// connected, as for a player who chose to watch.
struct ComputerFixture : GameFixture {
    ComputerFixture(std::vector<std::string> words, std::uint32_t seed = 5,
                    std::vector<std::string> dictionary = {"at", "an", "ate", "cat", "cats", "me"})
        : GameFixture(std::move(dictionary), std::move(words), seed), probe(seed) {
        playing(2);
        state.seats[2].watchonly = true;
        hand(1, "bbbbbb");
    }
    // The generator as the computer will find it, to predict its draws.
    Random probe;
};

const std::vector<std::string> kNoTargets = {"aa", "zz"};

} // namespace

TEST(ComputerPlay, TidiesTheBoardLeftWithEveryExchangeAnnounced) {
    ComputerFixture f(kNoTargets);
    f.board(2, "..b...c.d.");
    f.hand(2, "eeeeee");
    f.game.computerplay(2);

    const std::vector<std::pair<int, int>> pairs = {{9, 1}, {9, 2}, {9, 4}, {9, 5}, {9, 6},
                                                    {9, 8}, {7, 2}, {7, 4}, {7, 5}, {7, 6}};
    const auto seen = f.out.to(3);
    ASSERT_GT(seen.size(), pairs.size());
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        FieldReader r(splitMessage(seen[k]).data);
        EXPECT_EQ(splitMessage(seen[k]).name, "CMD_tradingmyletter") << k;
        EXPECT_EQ(r.number(), 2);
        EXPECT_EQ(r.number(), pairs[k].first) << k;
        r.number();
        EXPECT_EQ(r.number(), pairs[k].second) << k;
    }
    EXPECT_EQ(seen[0], "CMD_tradingmyletter+2+9+0+1+4+");
    EXPECT_EQ(seen[1], "CMD_tradingmyletter+2+9+0+2+0+") << "an exchange of two empty slots";
    // Each letter in turn goes to the leftmost empty slot, the rightmost first.
    EXPECT_EQ(f.board(2), "dcb.......");
    EXPECT_EQ(f.state.currentplayer, 1) << "the turn still ends with a move";
}

TEST(ComputerPlay, EmptyBoardStartsATwoLetterWordFromItsHand) {
    ComputerFixture f({"aa", "at", "zz"});
    f.hand(2, "xtbbab");
    f.game.computerplay(2);
    EXPECT_EQ(f.out.to(3).front(), "CMD_placemyletter+2+5+1+1+")
        << "the first hand slot holding the first letter";
    EXPECT_EQ(f.board(2), "a.........");
}

TEST(ComputerPlay, FallbacksWhenNoTargetFits) {
    {
        ComputerFixture f({"aa", "at", "zz"});
        f.hand(2, "xbmbsb"); // no t for "at": the first of d l m n p r s goes to slot 1
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3).front(), "CMD_placemyletter+2+3+1+13+");
    }
    {
        ComputerFixture f(kNoTargets);
        f.board(2, "m");
        f.hand(2, "xbobeb"); // one letter down: the first of a e i o goes to slot 2
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3).front(), "CMD_placemyletter+2+3+2+15+");
        EXPECT_EQ(f.out.to(3)[1], "CMD_nextplayer+1+5+") << "mo is not in this dictionary";
    }
}

TEST(ComputerPlay, FallbackThrowsAwayAtRandom) {
    {
        ComputerFixture f(kNoTargets);
        f.hand(2, "xbbbqb");
        f.game.computerplay(2);
        f.probe(kNoTargets.size() - 1 - 10); // the starting point
        const int slot = f.probe(6) + 1;
        EXPECT_EQ(f.out.to(2).front(), "CMD_discardextra+2+" + std::to_string(slot) + "+");
        EXPECT_EQ(f.state.seats[2].hand[slot], 0);
    }
    {
        ComputerFixture f(kNoTargets);
        f.board(2, "bbbbbbb");
        f.hand(2, "xxxxxx");
        f.game.computerplay(2);
        f.probe(-9);
        const int slot = f.probe(6) + 1;
        EXPECT_EQ(f.out.to(3).front(), "CMD_discardletter+2+" + std::to_string(slot) + "+")
            << "six or more letters down: a board letter goes";
    }
}

TEST(ComputerPlay, PlacesTheMissingLetterOfItsTarget) {
    ComputerFixture f({"aa", "cat", "zz"});
    f.board(2, "ca");
    f.hand(2, "bbtbbb");
    f.game.computerplay(2);
    EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_placemyletter+2+3+3+20+",
                                                     "CMD_formedword+2+cat+5+5+", "CMD_nextplayer+1+5+"}));
}

TEST(ComputerPlay, AnAnagramOfTheBoardIsRearrangedAndScoredByTheThrowAway) {
    ComputerFixture f({"aa", "cat", "zz"});
    f.board(2, "tac");
    f.hand(2, "bbbbbb");
    f.game.computerplay(2);
    EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_tradingmyletter+2+3+20+1+3+",
                                                     "CMD_formedword+2+cat+5+5+", "CMD_nextplayer+1+5+"}));
    EXPECT_EQ(f.out.namesTo(2)[1], "CMD_discardextra");
    EXPECT_EQ(f.board(2), "cat.......");
}

TEST(ComputerPlay, StealsOnlyWithThreeOrMoreOwnLetters) {
    {
        ComputerFixture f({"aa", "ate", "zz"});
        f.board(2, "at");
        f.board(1, "e");
        f.hand(2, "bbbbbb");
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3), (std::vector<std::string>{"CMD_formedword+2+at+2+2+", "CMD_nextplayer+1+5+"}))
            << "a hand letter was thrown away, nothing stolen";
        EXPECT_EQ(f.board(1), "e.........");
    }
    {
        ComputerFixture f({"aa", "cats", "zz"});
        f.board(2, "cat");
        f.board(1, "s");
        f.hand(2, "bbbbbb");
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3),
                  (std::vector<std::string>{"CMD_formedword+2+cats+6+6+", "CMD_stoldletter+2+1+4+1+19+",
                                            "CMD_nextplayer+1+5+"}));
        EXPECT_EQ(f.state.seats[2].stealsused, 1);
    }
    {
        ComputerFixture f({"aa", "cats", "zz"});
        f.board(2, "cat");
        f.board(1, "s");
        f.hand(2, "bbbbbb");
        f.state.seats[2].stealsused = 5;
        f.game.computerplay(2);
        EXPECT_EQ(f.board(1), "s.........") << "no steals left";
    }
}

TEST(ComputerPlay, StealsOnlyForATargetTheDictionaryKnows) {
    // "cats" is on the computer's own list, so it is chosen, but the dictionary does not know it.
    ComputerFixture f({"aa", "cats", "zz"}, 5, {"cat"});
    f.board(2, "cat");
    f.board(1, "s");
    f.hand(2, "bbbbbb");
    f.game.computerplay(2);
    EXPECT_EQ(f.board(1), "s.........");
    EXPECT_EQ(f.out.namesTo(2),
              (std::vector<std::string>{"CMD_discardextra", "CMD_formedword", "CMD_nextplayer"}))
        << "no steal was requested; the throw-away scores the board as it stands";
}

TEST(ComputerPlay, NeverChoosesAWordItAlreadyScored) {
    {
        ComputerFixture f({"aa", "at", "an", "zz"});
        f.hand(2, "atbbbb");
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3).front(), "CMD_placemyletter+2+1+1+1+");
    }
    {
        ComputerFixture f({"aa", "at", "an", "zz"});
        f.hand(2, "atbbbb");
        f.state.formedwords[2] = {"at"};
        f.game.computerplay(2);
        EXPECT_EQ(f.out.namesTo(2).front(), "CMD_discardextra");
        EXPECT_EQ(f.board(2), "..........");
    }
}

TEST(ComputerPlay, FallbackPlacesEachOfDLMNPRSAndRemovesFromSixBoardLetters) {
    for (const char c : std::string("dlmnprs")) {
        ComputerFixture f(kNoTargets);
        std::string hand = "xbbbbb";
        hand[3] = c;
        f.hand(2, hand);
        f.game.computerplay(2);
        EXPECT_EQ(f.out.to(3).front(), "CMD_placemyletter+2+4+1+" + std::to_string(c - 'a' + 1) + "+") << c;
    }
    for (const int down : {5, 6}) {
        ComputerFixture f(kNoTargets);
        f.board(2, std::string(static_cast<std::size_t>(down), 'b'));
        f.hand(2, "xxxxxx");
        f.game.computerplay(2);
        const auto seen = down == 6 ? f.out.to(3) : f.out.to(2);
        const std::string expected = down == 6 ? "CMD_discardletter+2+" : "CMD_discardextra+2+";
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front().rfind(expected, 0), 0u) << down << " letters down: " << seen.front();
    }
}
