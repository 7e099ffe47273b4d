#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/dict/builtinwords.h"
#include "core/rules/anagrams.h"
#include "core/rules/fakes.h"
#include "core/rules/strong.h"

using namespace plimb;
using namespace plimb::test;

namespace {

// Seat 2 is the computer's (a player who chose to watch, so its private notices are recorded);
// the strong player searches the same words the fixture's dictionary knows.
struct StrongFixture : GameFixture {
    explicit StrongFixture(const std::vector<std::string>& words)
        : GameFixture(words), index(AnagramIndex::fromWords(words)) {
        playing(2);
        state.seats[2].watchonly = true;
        hand(1, "bbbbbb");
        game.setAnagramIndex(index);
    }
    int play() { return StrongPlayer(game, spell, index).play(2); }
    // The moves seat 2 was told of, rearrangements left out.
    std::vector<std::string> moves() const {
        auto names = out.namesTo(2);
        std::erase(names, "CMD_tradingmyletter");
        return names;
    }
    AnagramIndex index;
};

const std::set<std::string> kTurnEnders = {"CMD_placemyletter", "CMD_discardletter", "CMD_discardextra",
                                           "CMD_stoldletter"};

} // namespace

TEST(ComputerKindText, RoundTripsAndAnythingElseIsClassic) {
    const struct {
        const char* text;
        ComputerKind kind;
    } rows[] = {{"classic", ComputerKind::Classic}, {"strong", ComputerKind::Strong},
                {" Strong ", ComputerKind::Strong}, {"STRONG", ComputerKind::Strong},
                {"", ComputerKind::Classic},        {"strongest", ComputerKind::Classic},
                {"stron", ComputerKind::Classic},   {"1", ComputerKind::Classic}};
    for (const auto& row : rows)
        EXPECT_EQ(parseComputerKind(row.text), row.kind) << '"' << row.text << '"';
    for (auto kind : {ComputerKind::Classic, ComputerKind::Strong})
        EXPECT_EQ(parseComputerKind(formatComputerKind(kind)), kind);
    EXPECT_EQ(formatComputerKind(ComputerKind::Strong), "strong");
    EXPECT_EQ(formatComputerKind(ComputerKind::Classic), "classic");
}

TEST(AnagramIndex, GroupsWordsByTheirLettersAndKeepsOnlyWhatABoardHolds) {
    const std::vector<std::string> words = {"cat", "ACT",  "tac",        "at",
                                            "a",   "ca-t", "abcdefghij", "abcdefghijk"};
    for (const auto& index :
         {AnagramIndex::fromWords(words), AnagramIndex::fromRecords(makeRecords(words))}) {
        LetterSet letters;
        for (int code : {20, 3, 1})
            letters.add(code);
        const auto found = index.find(letters);
        ASSERT_EQ(found.count, 3);
        EXPECT_EQ(found.word(0), "act");
        EXPECT_EQ(found.word(2), "tac");
        EXPECT_EQ(index.find(letters.minus(3)).word(0), "at");
        EXPECT_EQ(index.find(letters.minus(3).minus(20)).count, 0) << "no one-letter words";
        LetterSet ten;
        for (int code = 1; code <= 10; ++code)
            ten.add(code);
        EXPECT_EQ(index.find(ten).count, 1) << "ten letters fill a board";
        EXPECT_EQ(index.find(ten.plus(11)).count, 0) << "eleven do not";
        EXPECT_EQ(index.wordCount(), 5u);
    }
}

TEST(StrongPlayer, PlaysTheBestWordWithinReach) {
    const struct {
        const char* what;
        std::vector<std::string> words;
        const char *board, *hand, *his;
        const char* move;  // the turn-ending move
        const char* word;  // what it forms
        int points;        // from the letter values and the length bonus
        const char* after; // own board afterwards
    } rows[] = {
        // satire (6 one-point letters, x2 = 12) by a throw-away loses to retains (7, x3 = 21).
        {"seven-letter anagram of board and a hand letter",
         {"retains", "satire", "stain"},
         "tsi.rae",
         "bbnbbb",
         "",
         "CMD_placemyletter",
         "retains",
         21,
         "retains..."},
        {"placement over a letter",
         {"cat"},
         "cax",
         "bbbbtb",
         "",
         "CMD_placemyletter",
         "cat",
         5,
         "cat......."},
        // cat by a throw-away is worth 5, cats by a steal 3 + 1 + 1 + 1 = 6.
        {"steal that makes a word",
         {"cat", "cats"},
         "cat",
         "bbbbbb",
         "..s",
         "CMD_stoldletter",
         "cats",
         6,
         "cats......"},
        {"removal that leaves a word",
         {"quit"},
         "qzuit",
         "bbbbbb",
         "",
         "CMD_discardletter",
         "quit",
         13,
         "quit......"},
        {"rearrangement scored by a throw-away",
         {"cat"},
         "t.ac",
         "bbbbbb",
         "",
         "CMD_discardextra",
         "cat",
         5,
         "cat......."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StrongFixture f(row.words);
        f.board(2, row.board);
        f.hand(2, row.hand);
        f.board(1, row.his);
        EXPECT_EQ(f.play(), 0);
        const auto moves = f.moves();
        EXPECT_EQ(
            std::count_if(moves.begin(), moves.end(), [](const auto& m) { return kTurnEnders.count(m); }), 1);
        EXPECT_NE(std::find(moves.begin(), moves.end(), row.move), moves.end());
        const auto seen = f.out.to(3);
        EXPECT_NE(std::find(seen.begin(), seen.end(), build::formedword(2, row.word, row.points, row.points)),
                  seen.end());
        EXPECT_EQ(f.board(2), row.after);
        EXPECT_EQ(f.state.currentplayer, 1);
    }
}

TEST(StrongPlayer, NeverReplaysAScoredWordNorStealsWithoutSteals) {
    {
        StrongFixture f({"cat", "act"});
        f.board(2, "tac");
        f.hand(2, "bbbbbb");
        f.state.formedwords[2] = {"act"};
        EXPECT_EQ(f.play(), 0);
        EXPECT_EQ(f.state.formedwords[2], (std::vector<std::string>{"act", "cat"})) << "its anagram is new";
    }
    {
        StrongFixture f({"cat", "act"});
        f.board(2, "tac");
        f.hand(2, "bbbbbb");
        f.state.formedwords[2] = {"CAT", "act"};
        EXPECT_EQ(f.play(), 0);
        EXPECT_EQ(f.state.formedwords[2].size(), 2u);
        EXPECT_EQ(f.state.seats[2].score, 0);
        EXPECT_EQ(f.state.currentplayer, 1) << "the turn still ends";
    }
    {
        StrongFixture f({"cats"});
        f.board(2, "cat");
        f.board(1, "s");
        f.hand(2, "bbbbbb");
        f.state.seats[2].stealsused = 5;
        EXPECT_EQ(f.play(), 0);
        EXPECT_EQ(f.board(1), "s.........");
        EXPECT_TRUE(f.out.namesTo(2) == f.moves()) << "no rearranging for a move that scores nothing";
        const auto names = f.out.namesTo(2);
        EXPECT_EQ(std::count(names.begin(), names.end(), "CMD_toomany"), 0);
    }
}

TEST(StrongPlayer, WhenNothingScoresItKeepsAWordWithinReach) {
    // Placing b (the first letter it would consider) would leave tux out of reach; placing u or
    // x keeps it one move away.
    StrongFixture f({"tux"});
    f.board(2, "t");
    f.hand(2, "bubxbb");
    EXPECT_EQ(f.play(), 0);
    EXPECT_EQ(f.state.seats[2].score, 0);
    f.state.currentplayer = 2;
    EXPECT_EQ(f.play(), 0);
    EXPECT_EQ(f.state.formedwords[2], std::vector<std::string>{"tux"});
}

TEST(StrongPlayer, TheTurnTimerRunsThePlayerTheHostChose) {
    // The classic player's list has no word here, so it would throw a hand letter away.
    StrongFixture f({"cat"});
    f.state.seats[2].watchonly = true;
    f.state.timermode = TimerMode::Computer;
    f.state.turncountdown = 1;
    f.board(2, "ca");
    f.hand(2, "bbbbbt");
    EXPECT_EQ(f.game.computerPlayer(), ComputerKind::Classic);
    f.game.setComputerPlayer(ComputerKind::Strong);
    f.game.turntimerTimer();
    EXPECT_EQ(f.board(2), "cat.......");
    EXPECT_EQ(f.state.seats[2].score, 5);
}

// Whole games on the real dictionary, the strong player against itself and against the classic
// one: every request is carried out, every turn ends with exactly one turn-ending move, no word
// scores twice for a seat, and every game is won.
TEST(StrongPlayer, WholeGamesOnTheBuiltInDictionary) {
    const TDictn spell{builtinWordRecords()};
    const auto computerWords = builtinComputerWords();
    const AnagramIndex& index = AnagramIndex::builtin();
    for (const bool againstClassic : {false, true}) {
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE(::testing::Message()
                         << "seed " << seed << (againstClassic ? " vs classic" : " vs strong"));
            GameState state;
            FakeOutbox out;
            FakeTimer timer;
            Random random(seed);
            Game game(state, out, random, timer, spell, computerWords);
            state.seats[1].inuse = state.seats[2].inuse = true;
            state.seatcount = 2;
            game.startgame("test", 30, 200, 5);
            const int strongSeat = seed % 2 + 1;
            for (int turn = 0; state.gamerunning && turn < 400; ++turn) {
                const int seat = state.currentplayer;
                out.clear();
                if (seat == strongSeat || !againstClassic) {
                    ASSERT_EQ(StrongPlayer(game, spell, index).play(seat), 0);
                    auto names = out.namesTo(seat);
                    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                                            [](const auto& m) { return kTurnEnders.count(m); }),
                              1);
                    EXPECT_EQ(std::count(names.begin(), names.end(), "CMD_notvalid"), 0);
                } else {
                    game.computerplay(seat);
                }
                ASSERT_TRUE(!state.gamerunning || state.currentplayer != seat) << "the turn passed";
            }
            EXPECT_FALSE(state.gamerunning) << "the game was won";
            for (int seat : {1, 2}) {
                const auto& words = state.formedwords[seat];
                EXPECT_EQ(std::set<std::string>(words.begin(), words.end()).size(), words.size());
            }
        }
    }
}
