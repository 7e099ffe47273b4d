// How fast the rules run on the real word lists: dictionary lookups, one computer move, and
// whole computer-against-computer games.
#include <benchmark/benchmark.h>

#include "nulls.h"

#include <array>
#include <string>
#include <vector>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/rules/game.h"

using namespace plimb;
using plimb::bench::NullOutbox;
using plimb::bench::NullTimer;

namespace {

const TDictn& spell() {
    static const TDictn dictionary{builtinWordRecords()};
    return dictionary;
}

const std::vector<std::string>& computerWords() {
    static const std::vector<std::string> words = builtinComputerWords();
    return words;
}

void BM_IsWord(benchmark::State& st) {
    const std::array<const char*, 8> texts = {"cat",        "  quartz  ", "house",   "xyzzy",
                                              "interviews", "ca t",       "zymurgy", "internationali"};
    std::size_t k = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(spell().isword(texts[k]));
        k = (k + 1) % texts.size();
    }
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations()));
}
BENCHMARK(BM_IsWord);

// Each iteration: a fresh game reaches the computer's first move, which is then timed alone.
void BM_ComputerPlay(benchmark::State& st) {
    std::uint32_t seed = 1;
    for (auto _ : st) {
        st.PauseTiming();
        GameState state;
        NullOutbox out;
        NullTimer timer;
        Random random(seed++);
        Game game(state, out, random, timer, spell(), computerWords());
        game.startgame("Bench", 30, 200, 5);
        st.ResumeTiming();
        game.computerplay(state.currentplayer);
    }
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations()));
}
BENCHMARK(BM_ComputerPlay);

// A computer can get stuck (say on "quiz", which no listed word extends, with too few letters
// down to remove any), so a game is cut off after kMaxTicks and counted as unfinished.
void BM_WholeGame(benchmark::State& st) {
    constexpr int kMaxTicks = 2000;
    std::uint32_t seed = 1;
    std::int64_t ticks = 0;
    std::int64_t unfinished = 0;
    for (auto _ : st) {
        GameState state;
        NullOutbox out;
        NullTimer timer;
        Random random(seed++);
        Game game(state, out, random, timer, spell(), computerWords());
        state.seats[1].inuse = true;
        state.seatcount = 1;
        game.startgame("Bench", 30, 200, 5);
        state.seats[1].watchonly = true;
        for (int tick = 0; state.gamerunning && timer.running && tick < kMaxTicks; ++tick) {
            game.turntimerTimer();
            ++ticks;
        }
        if (state.gamerunning) ++unfinished;
        benchmark::DoNotOptimize(out.bytes);
    }
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations()));
    st.counters["ticks_per_game"] =
        benchmark::Counter(static_cast<double>(ticks) / static_cast<double>(st.iterations()));
    st.counters["unfinished"] = benchmark::Counter(static_cast<double>(unfinished));
}
BENCHMARK(BM_WholeGame);

} // namespace

BENCHMARK_MAIN();
