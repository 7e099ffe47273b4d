// Plays whole engine-only games between two computer players and reports how they fare:
//
//   plimb_simulate --games N --a LEVEL --b LEVEL [--seed S]
//
// LEVEL is beginner, easy, classic, hard or strong.
//
// Game g (0-based) uses seed S+g (S defaults to 1); player A takes seat 1 in even games and
// seat 2 in odd ones, so each side moves first (seat 2 always opens) equally often. Games are
// played to 200 with 5 steals each. A game is stalled when a computer turn fails to pass the
// turn, or when nobody has won after kMaxTurns turns.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "nulls.h"

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/rules/anagrams.h"
#include "core/rules/game.h"
#include "core/rules/levels.h"

using namespace plimb;
using plimb::bench::NullOutbox;
using plimb::bench::NullTimer;

namespace {

constexpr int kPlayTo = 200;
constexpr int kSteals = 5;
constexpr int kMaxTurns = 2000;

struct Options {
    long games = 0;
    ComputerKind a = ComputerKind::Classic;
    ComputerKind b = ComputerKind::Classic;
    long seed = 1;
};

struct Side {
    long wins = 0;
    long long points = 0;
    long long moves = 0;
    double seconds = 0;
    double slowest = 0;
};

bool parseNumber(std::string_view text, long& value) {
    const auto end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseKind(std::string_view text, ComputerKind& kind) {
    for (const ComputerKind k : kComputerKinds) {
        if (text == formatComputerKind(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool parseArgs(int argc, char** argv, Options& o) {
    bool haveGames = false, haveA = false, haveB = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view flag = argv[i];
        if (i + 1 >= argc) {
            std::fprintf(stderr, "plimb_simulate: %s needs a value\n", argv[i]);
            return false;
        }
        const std::string_view value = argv[i + 1];
        bool ok = false;
        if (flag == "--games") {
            ok = parseNumber(value, o.games) && o.games > 0;
            haveGames = true;
        } else if (flag == "--a") {
            ok = parseKind(value, o.a);
            haveA = true;
        } else if (flag == "--b") {
            ok = parseKind(value, o.b);
            haveB = true;
        } else if (flag == "--seed") {
            ok = parseNumber(value, o.seed) && o.seed >= 0 && o.seed <= 0xFFFFFFFFL;
        } else {
            std::fprintf(stderr, "plimb_simulate: unknown option %s\n", argv[i]);
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "plimb_simulate: bad value for %s: %s\n", argv[i], argv[i + 1]);
            return false;
        }
    }
    if (!haveGames || !haveA || !haveB) {
        std::fprintf(stderr, "usage: plimb_simulate --games N --a LEVEL --b LEVEL [--seed S]\n"
                             "  LEVEL: beginner, easy, classic, hard or strong\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!parseArgs(argc, argv, opt)) return 2;

    const TDictn spell{builtinWordRecords()};
    const std::vector<std::string> computerWords = builtinComputerWords();
    using Clock = std::chrono::steady_clock;
    // Built here rather than inside the first strong move, so that move's time is its own.
    double indexSeconds = 0;
    for (const ComputerKind kind : {opt.a, opt.b}) {
        if (kind == ComputerKind::Classic) continue;
        const auto t0 = Clock::now();
        const auto words = knownWords(styleOf(kind).knownTier, styleOf(kind).longestWord).wordCount();
        indexSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
        std::printf("%s's words: %zu, indexed in %.1f ms\n", std::string(formatComputerKind(kind)).c_str(),
                    words, indexSeconds * 1000);
    }

    Side sides[2];
    long stalled = 0;
    long long turns = 0;
    long shortest = kMaxTurns, longest = 0;
    for (long g = 0; g < opt.games; ++g) {
        // seatOf[0] is A's seat.
        const int seatOfA = g % 2 == 0 ? 1 : 2;
        auto sideOf = [&](int seat) { return seat == seatOfA ? 0 : 1; };
        const ComputerKind kinds[2] = {opt.a, opt.b};

        GameState state;
        NullOutbox out;
        NullTimer timer;
        Random random(static_cast<std::uint32_t>(opt.seed + g));
        Game game(state, out, random, timer, spell, computerWords);
        // Seat 1 is a connected player who chose to watch, seat 2 an empty seat: both are
        // played by the computer, on the turn timer as in a real game.
        state.seats[1].inuse = true;
        state.seatcount = 1;
        game.startgame("Simulation", 30, kPlayTo, kSteals);
        state.seats[1].watchonly = true;
        state.timermode = TimerMode::Computer;
        state.turncountdown = 1;

        int played = 0;
        bool stuck = false;
        while (state.gamerunning && played < kMaxTurns) {
            const int seat = state.currentplayer;
            const int side = sideOf(seat);
            game.setComputerPlayer(kinds[side]);
            while (state.turncountdown > 1)
                game.turntimerTimer();
            const auto t0 = Clock::now();
            game.turntimerTimer();
            const double took = std::chrono::duration<double>(Clock::now() - t0).count();
            sides[side].seconds += took;
            sides[side].slowest = std::max(sides[side].slowest, took);
            ++sides[side].moves;
            ++played;
            if (state.gamerunning && (state.currentplayer == seat || !timer.running)) {
                stuck = true;
                break;
            }
        }
        turns += played;
        shortest = std::min<long>(shortest, played);
        longest = std::max<long>(longest, played);
        if (stuck || state.gamerunning) {
            ++stalled;
        } else {
            ++sides[sideOf(state.currentplayer)].wins;
        }
        sides[sideOf(1)].points += state.seats[1].score;
        sides[sideOf(2)].points += state.seats[2].score;
    }

    const double games = static_cast<double>(opt.games);
    auto msPerMove = [](const Side& s) {
        return s.moves == 0 ? 0.0 : s.seconds * 1000 / static_cast<double>(s.moves);
    };
    std::printf("%ld games, seeds %ld..%ld, play to %d, %d steals, seats alternating\n", opt.games, opt.seed,
                opt.seed + opt.games - 1, kPlayTo, kSteals);
    std::printf("%-6s %-8s %6s %7s %10s %10s %10s %12s\n", "player", "kind", "wins", "win%", "avg score",
                "moves", "ms/move", "slowest ms");
    const char* names[2] = {"A", "B"};
    const ComputerKind kinds[2] = {opt.a, opt.b};
    for (int s = 0; s < 2; ++s) {
        const std::string kind(formatComputerKind(kinds[s]));
        std::printf("%-6s %-8s %6ld %6.1f%% %10.1f %10lld %10.3f %12.3f\n", names[s], kind.c_str(),
                    sides[s].wins, 100.0 * static_cast<double>(sides[s].wins) / games,
                    static_cast<double>(sides[s].points) / games, sides[s].moves, msPerMove(sides[s]),
                    sides[s].slowest * 1000);
    }
    std::printf("game length in turns: average %.1f, shortest %ld, longest %ld (cut off at %d)\n",
                static_cast<double>(turns) / games, shortest, longest, kMaxTurns);
    std::printf("stalled games: %ld\n", stalled);
    std::printf("RESULT games=%ld wins_a=%ld wins_b=%ld stalled=%ld ms_per_move_a=%.3f ms_per_move_b=%.3f\n",
                opt.games, sides[0].wins, sides[1].wins, stalled, msPerMove(sides[0]), msPerMove(sides[1]));
    return 0;
}
