// Whole games, computer against computer, on the real word lists: every notice must parse back,
// come in the order of the rules, and describe the boards and scores the server ends with.
#include <gtest/gtest.h>

#include <map>

#include "core/rules/fakes.h"
#include "core/dict/builtinwords.h"

using namespace plimb;
using namespace plimb::test;

namespace {

struct Notice {
    std::string name;
    std::vector<int> numbers;
    std::string word;
};

// Parses a notice the way a client does; fails the test on anything malformed.
Notice parse(const std::string& text) {
    static const std::map<std::string, int> fieldsOf = {
        {"CMD_startgame", 4},     {"CMD_letters", -1},      {"CMD_newletter", 3},
        {"CMD_nextplayer", 2},    {"CMD_placemyletter", 4}, {"CMD_tradingmyletter", 5},
        {"CMD_discardletter", 2}, {"CMD_discardextra", 2},  {"CMD_stoldletter", 5},
        {"CMD_formedword", 4},    {"CMD_winner", 1},        {"CMD_timeup", 0},
        {"CMD_notvalid", 1},      {"CMD_toomany", 1},       {"CMD_gamekey", 1}};
    const auto [name, data] = splitMessage(text);
    Notice n{std::string(name), {}, {}};
    const auto known = fieldsOf.find(n.name);
    EXPECT_NE(known, fieldsOf.end()) << text;
    if (known == fieldsOf.end()) return n;
    FieldReader r(data);
    const int count = known->second < 0 ? 1 + 10 : known->second;
    for (int i = 0; i < count && !r.atEnd(); ++i) {
        const auto field = r.text();
        if ((n.name == "CMD_startgame" && i == 0) || (n.name == "CMD_formedword" && i == 1) ||
            n.name == "CMD_gamekey") {
            n.word = std::string(field);
            continue;
        }
        const auto value = parseInt(field);
        EXPECT_TRUE(value.has_value()) << text;
        n.numbers.push_back(value.value_or(-1));
    }
    if (known->second >= 0) {
        EXPECT_TRUE(r.atEnd()) << "extra fields in " << text;
    }
    return n;
}

struct Outcome {
    int winner = 0;
    int turns = 0;
    int steals = 0;
};

Outcome playOut(std::uint32_t seed, int playtoscore, int maxsteals) {
    const TDictn spell{builtinWordRecords()};
    GameState state;
    FakeOutbox out;
    FakeTimer timer;
    Random random(seed);
    Game game(state, out, random, timer, spell, builtinComputerWords());
    state.seats[1].inuse = true; // seat 1 watches and lets the computer play; seat 2 is empty
    state.seats[3].inuse = true; // a spectator sees everything public
    state.seatcount = 3;

    game.startgame("Sim", 30, playtoscore, maxsteals);
    state.seats[1].watchonly = true;
    int ticks = 0;
    while (state.gamerunning && ticks < 100000) {
        EXPECT_TRUE(timer.running) << "a turn without a running timer never ends";
        if (!timer.running) break;
        game.turntimerTimer();
        ++ticks;
    }
    EXPECT_FALSE(state.gamerunning) << "seed " << seed;

    // Replay the spectator's view.
    std::array<std::array<int, 11>, 3> boards{};
    std::array<int, 3> scores{};
    Outcome outcome;
    std::string previous;
    int lastPlayer = 0;
    const auto seen = out.to(3);
    for (std::size_t k = 0; k < seen.size(); ++k) {
        const Notice n = parse(seen[k]);
        const auto& v = n.numbers;
        auto player = [&](int p) {
            EXPECT_TRUE(p == 1 || p == 2) << seen[k];
            return p == 1 || p == 2 ? p : 1;
        };
        auto slot = [&](int s) {
            EXPECT_TRUE(s >= 1 && s <= 10) << seen[k];
            return s >= 1 && s <= 10 ? s : 1;
        };
        if (n.name == "CMD_placemyletter") {
            boards[player(v[0])][slot(v[2])] = v[3];
            EXPECT_TRUE(v[3] >= 1 && v[3] <= 26);
        } else if (n.name == "CMD_tradingmyletter") {
            auto& b = boards[player(v[0])];
            EXPECT_EQ(b[slot(v[1])], v[4]) << seen[k];
            EXPECT_EQ(b[slot(v[3])], v[2]) << seen[k];
            b[slot(v[1])] = v[2];
            b[slot(v[3])] = v[4];
        } else if (n.name == "CMD_discardletter") {
            EXPECT_NE(boards[player(v[0])][slot(v[1])], 0);
            boards[player(v[0])][slot(v[1])] = 0;
        } else if (n.name == "CMD_stoldletter") {
            EXPECT_EQ(previous, "CMD_formedword") << "the score is announced before the steal";
            EXPECT_EQ(v[1], 3 - v[0]);
            EXPECT_EQ(boards[player(v[1])][slot(v[3])], v[4]);
            boards[player(v[0])][slot(v[2])] = v[4];
            boards[player(v[1])][slot(v[3])] = 0;
            ++outcome.steals;
        } else if (n.name == "CMD_formedword") {
            scores[player(v[0])] += v[1];
            EXPECT_EQ(scores[player(v[0])], v[2]);
            EXPECT_GT(v[1], 0);
            EXPECT_GE(n.word.size(), 2u);
        } else if (n.name == "CMD_nextplayer") {
            EXPECT_NE(v[0], lastPlayer) << "turns alternate";
            lastPlayer = player(v[0]);
            ++outcome.turns;
        } else if (n.name == "CMD_winner") {
            EXPECT_EQ(k + 1, seen.size()) << "the winner is the last word";
            outcome.winner = player(v[0]);
        } else {
            EXPECT_TRUE(n.name == "CMD_startgame" || n.name == "CMD_gamekey" || n.name == "CMD_letters")
                << seen[k];
        }
        previous = n.name;
    }
    for (int p = 1; p <= 2; ++p) {
        for (int s = 1; s <= 10; ++s)
            EXPECT_EQ(boards[p][s], state.seats[p].board[s]) << p << "/" << s;
        EXPECT_EQ(scores[p], state.seats[p].score);
    }
    if (outcome.winner != 0) {
        EXPECT_GE(scores[outcome.winner], playtoscore);
        EXPECT_GT(scores[outcome.winner], scores[3 - outcome.winner]);
    }

    // Seat 1's private stream: a dealt letter always comes just before its turn announcement.
    const auto mine = out.to(1);
    for (std::size_t k = 0; k < mine.size(); ++k) {
        const Notice n = parse(mine[k]);
        if (n.name != "CMD_newletter") continue;
        EXPECT_EQ(n.numbers[0], 1);
        EXPECT_LT(k + 1, mine.size());
        if (k + 1 < mine.size()) {
            EXPECT_EQ(mine[k + 1].rfind("CMD_nextplayer+1+", 0), 0u) << mine[k + 1];
        }
    }
    return outcome;
}

} // namespace

TEST(WholeGame, ComputerAgainstComputerReachesAWinner) {
    int steals = 0;
    for (std::uint32_t seed : {1u, 2u, 3u, 20240101u}) {
        SCOPED_TRACE(seed);
        const Outcome o = playOut(seed, 100, 5);
        EXPECT_NE(o.winner, 0);
        EXPECT_GT(o.turns, 1);
        EXPECT_LE(o.steals, 10) << "five steals each at most";
        steals += o.steals;
    }
    EXPECT_GT(steals, 0) << "the games went through the steal path too";
}

TEST(WholeGame, UnlimitedStealsAndAHigherTarget) {
    const Outcome o = playOut(777, 300, kUnlimitedSteals);
    EXPECT_NE(o.winner, 0);
}

TEST(WholeGame, TheSameSeedPlaysTheSameGame) {
    const Outcome a = playOut(99, 100, 5);
    const Outcome b = playOut(99, 100, 5);
    EXPECT_EQ(a.winner, b.winner);
    EXPECT_EQ(a.turns, b.turns);
}
