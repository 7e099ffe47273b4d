// Framing and dispatch throughput: how many messages per second the transport and the two
// dispatchers get through, far above what one message per timer tick ever asks of them.
#include <benchmark/benchmark.h>

#include "nulls.h"

#include "core/client/clientmodel.h"
#include "core/dict/tdictn.h"
#include "core/net/framer.h"
#include "core/net/protocol.h"
#include "core/rules/game.h"
#include "core/server/server.h"

using namespace plimb;
using plimb::bench::NullOutbox;
using plimb::bench::NullTimer;

namespace {

class NullSink : public QuietSink {
public:
    void addlinetochat(const std::string& line, Colour) override { chars += line.size(); }
    std::size_t chars = 0;
};

// 64 chat lines in one read, cut into messages.
void BM_Framing(benchmark::State& state) {
    std::string burst;
    for (int i = 0; i < 64; ++i)
        burst += frame(build::chatRequest(2, "hello there, how are you today?|clBlack"));
    std::vector<std::string> out;
    out.reserve(64);
    for (auto _ : state) {
        Framer framer;
        out.clear();
        framer.feed(burst, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_Framing);

// Chat requests through the server's queue and dispatcher, relayed to nine seats.
void BM_ServerDispatch(benchmark::State& state) {
    GameState gameState;
    NullOutbox out;
    NullTimer timer;
    Random random(1);
    TDictn spell;
    Game game(gameState, out, random, timer, spell, {"ab", "at"});
    Server server(gameState, out, game);
    for (int seat = 1; seat <= 9; ++seat) {
        server.connectionAccepted(server.pickSeat());
        server.received(seat, build::logininfoRequest(seat, kVersion, "Player" + std::to_string(seat)));
        server.socktimerTimer();
    }
    const std::string request = build::chatRequest(2, "hello there|clBlack");
    for (auto _ : state) {
        server.received(2, request);
        server.socktimerTimer();
    }
    state.SetItemsProcessed(state.iterations());
    benchmark::DoNotOptimize(out.bytes);
}
BENCHMARK(BM_ServerDispatch);

// Game notices through the client's queue and dispatcher.
void BM_ClientDispatch(benchmark::State& state) {
    NullSink sink;
    ClientModel model(sink);
    model.received(build::sendlogininfo(1));
    model.received(build::newplayerinfo(1, "Ann"));
    model.received(build::startgame("Ann", "30", "200", "5"));
    while (!model.queue().empty())
        model.processsocktimer();
    const std::string notices[] = {build::placemyletter(2, 1, 3, 5), build::tradingmyletter(2, 3, 5, 4, 0),
                                   build::nextplayer(1, 5), build::chat("Bob", "hi|clBlack")};
    for (auto _ : state) {
        for (const auto& n : notices)
            model.received(n);
        for (int i = 0; i < 4; ++i)
            model.processsocktimer();
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_ClientDispatch);

} // namespace

BENCHMARK_MAIN();
