// The replay of a kept game: reading a 200-turn record, building its snapshots, and seeking to any
// moment of it, which the window does on every move of the slider (it has to stay well under the
// 50 ms a player would notice).
#include <benchmark/benchmark.h>

#include <random>

#include "core/net/protocol.h"
#include "core/records/gamerecord.h"
#include "core/records/history.h"
#include "core/records/replay.h"

using namespace plimb;

namespace {

// 200 turns of two players, each turn with the notices a real one brings: the turn, a few letters
// put, moved and drawn, now and then a word, a steal, a throw and a chat line.
std::string record200() {
    RecordHeader h{1'765'396'158'123, {"Ann", "Klot"}, 1000, 30, 5, 1, "Ann"};
    std::string text = formatHeader(h);
    std::int64_t ms = 0;
    const auto add = [&](const std::string& notice) { text += formatNotice(ms += 700, notice); };
    add(build::startgame("Ann", "30", "1000", "5"));
    add(build::gamekey("1.1"));
    add(build::letters(1, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}));
    std::array<int, 3> score{};
    for (int turn = 1; turn <= 200; ++turn) {
        const int seat = 1 + turn % 2;
        add(build::nextplayer(seat, 5));
        for (int k = 0; k < 3; ++k) {
            add(build::placemyletter(seat, 1 + (turn + k) % 6, 1 + (turn + 3 * k) % 10, 1 + (turn * 5 + k) % 26));
            add(build::newletter(seat, 1 + (turn + k) % 6, 1 + (turn * 7 + k) % 26));
        }
        if (turn % 3 == 0) add(build::tradingmyletter(seat, 2, 3, 7, 9));
        if (turn % 2 == 0) {
            score[seat] += turn % 9 + 3;
            add(build::formedword(seat, "plumb", turn % 9 + 3, score[seat]));
        }
        if (turn % 7 == 0) add(build::stoldletter(seat, 3 - seat, 1 + turn % 10, 1 + (turn + 4) % 10, 5));
        if (turn % 11 == 0) add(build::discardletter(seat, 1 + turn % 10));
        if (turn % 5 == 0) add(build::chat(seat == 1 ? "Ann" : "Klot", "nice one|clBlack"));
    }
    add(build::winner(1));
    return text;
}

void BM_ReadRecord(benchmark::State& state) {
    const std::string text = record200();
    for (auto _ : state)
        benchmark::DoNotOptimize(readRecord(text));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMillisecond);

// The first listing of a full folder (the list and the tally's chart read each file once, then only
// what changed): 1,000 games of 200 turns read and summed up.
void BM_ListAFullFolder(benchmark::State& state) {
    const std::string text = record200();
    for (auto _ : state) {
        RecordListing listing;
        for (std::size_t i = 0; i < kMaxKeptRecords; ++i)
            listing.add(recordFileName(static_cast<std::int64_t>(i)), text);
        listing.sortNewestFirst();
        benchmark::DoNotOptimize(listing);
    }
}
BENCHMARK(BM_ListAFullFolder)->Unit(benchmark::kMillisecond);

// Opening a replay: the whole game once, keeping a snapshot every 64 notices.
void BM_OpenReplay(benchmark::State& state) {
    const GameRecord record = *readRecord(record200()).record;
    for (auto _ : state) {
        ReplayModel replay(record);
        benchmark::DoNotOptimize(replay.view());
    }
    state.counters["notices"] = static_cast<double>(record.notices.size());
}
BENCHMARK(BM_OpenReplay)->Unit(benchmark::kMillisecond);

// A seek to a moment picked at random, as a slider drag asks; and the worst case, the notice just
// before a snapshot, reached by going back (a snapshot copied, 63 notices played).
void BM_SeekAnywhere(benchmark::State& state) {
    ReplayModel replay(*readRecord(record200()).record);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> moment(replay.firstMoment(), replay.lastMoment());
    for (auto _ : state) {
        replay.seek(moment(random));
        benchmark::DoNotOptimize(replay.view());
    }
    state.counters["moments"] = static_cast<double>(replay.lastMoment());
}
BENCHMARK(BM_SeekAnywhere)->Unit(benchmark::kMicrosecond);

void BM_SeekBackWorstCase(benchmark::State& state) {
    ReplayModel replay(*readRecord(record200()).record);
    const std::size_t worst = (replay.lastMoment() / ReplayModel::kSnapshotEvery) * ReplayModel::kSnapshotEvery - 1;
    for (auto _ : state) {
        replay.seek(replay.lastMoment());
        replay.seek(worst);
        benchmark::DoNotOptimize(replay.view());
    }
}
BENCHMARK(BM_SeekBackWorstCase)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
