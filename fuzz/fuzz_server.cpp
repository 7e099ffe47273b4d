// The server as a peer sees it: connections come and go, send arbitrary bytes through the
// framer, and the request tick, the turn timer and the login deadline fire in any order. Checks,
// besides crashes and sanitizer reports:
//  - a notice goes only to an open connection and is shorter than the framer's cap, and each seat's in-use
//  flag matches whether a
//    connection holds it;
//  - a hand travels only to its owner (CMD_letters, CMD_newletter, CMD_discardextra,
//    CMD_notvalid, CMD_toomany reach the seat they name, nobody else);
//  - a request naming another seat than its connection's changes nothing and tells nobody;
//  - the tables stay within their ranges.
#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <vector>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/framer.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"
#include "core/rules/game.h"
#include "core/server/server.h"
#include "fuzzinput.h"

using namespace plimb;
using plimb::fuzz::fail;

namespace {

// Built once: the dictionary and the computer's words are the costly part of a game. A computer
// turn walks its whole list, so the game gets a short one that still leaves it moves to make:
// every word of two letters (the only ones it can open an empty board with) and every 60th of
// the longer ones, about 130 words of the 6000. The game takes its own copy.
const TDictn& spell() {
    static const TDictn dict(builtinWordRecords());
    return dict;
}
const std::vector<std::string>& computerWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> some;
        std::size_t longer = 0;
        for (std::string& word : builtinComputerWords())
            if (word.size() == 2 || longer++ % 60 == 0) some.push_back(std::move(word));
        return some;
    }();
    return words;
}

class Timer : public TurnTimer {
public:
    void start() override { running = true; }
    void stop() override { running = false; }
    bool running = false;
};

// Stands where the Qt server stands: closing a seat reports the close back at once, as the
// socket does.
class Shell : public Outbox {
public:
    PLIMB_FUZZ_UNTRACED void send(int seat, std::string_view text) override {
        if (seat < 1 || seat > kSeatRecords || !open[seat])
            fail("notice to a seat without a connection", text);
        if (text.find(kTerminator) != std::string_view::npos) fail("terminator inside a notice", text);
        if (text.size() >= Framer::kDefaultCap) fail("a notice that its peers would close on", text);
        const auto m = splitMessage(text);
        if (m.name == msg::letters || m.name == msg::newletter || m.name == msg::discardextra ||
            m.name == msg::notvalid || m.name == msg::toomany) {
            const auto owner = read::seat(m.data);
            if (!owner || *owner != seat) fail("a hand reached another seat", text);
        }
        ++sent;
    }
    void close(int seat) override {
        if (seat < 1 || seat > kSeatRecords || !open[seat]) return;
        open[seat] = false;
        server->connectionClosed(seat);
    }
    void move(int from, int to) override {
        if (from < 1 || from > kSeatRecords || to < 1 || to > kSeatRecords || !open[from] || open[to])
            fail("a connection moved from a closed record or onto a held one");
        open[from] = false;
        open[to] = true;
    }
    Server* server = nullptr;
    std::array<bool, kSeatRecords + 1> open{};
    int sent = 0;
};

// Walks the records by iterator: at -O1 std::array's operator[] stays a call of its own, which
// would be traced however this function is marked.
PLIMB_FUZZ_UNTRACED void checkTables(const GameState& s, const Shell& shell) {
    if (s.seatcount < 0 || s.seatcount > kMaxSeats) fail("seatcount out of range");
    if (s.currentplayer < 0 || s.currentplayer > 2) fail("currentplayer out of range");
    const auto inRange = [](const auto& letters) {
        unsigned worst = 0; // a negative code reads as a huge one
        for (const int code : letters)
            worst = std::max(worst, static_cast<unsigned>(code));
        return worst <= 26;
    };
    auto open = shell.open.begin();
    for (auto p = s.seats.begin(); p != s.seats.end(); ++p, ++open) {
        const auto seat = p - s.seats.begin();
        if (seat == 0) continue;
        if (seat <= kMaxSeats && p->inuse != *open) fail("seat flag and connection disagree");
        if (p->score < 0) fail("negative score");
        if (!inRange(p->board)) fail("board letter out of range");
        if (!inRange(p->hand)) fail("hand letter out of range");
    }
}

PLIMB_FUZZ_UNTRACED bool sameTables(const GameState& a, const GameState& b) {
    for (int seat = 1; seat <= kSeatRecords; ++seat) {
        const auto &x = a.seats[seat], &y = b.seats[seat];
        if (x.board != y.board || x.hand != y.hand || x.score != y.score || x.name != y.name ||
            x.watchonly != y.watchonly || x.stealsused != y.stealsused)
            return false;
    }
    return a.currentplayer == b.currentplayer && a.gamerunning == b.gamerunning;
}

const std::array<std::string_view, 12> kRequests{
    msg::logininfo,       msg::kickhim,           msg::chat,          msg::action,
    msg::justwatch,       msg::startgame,         msg::placemyletter, msg::discardextra,
    msg::tradingmyletter, msg::stealinghisletter, msg::discardletter, msg::playasound};

// A request that looks like an honest client's, naming `seat`, with small numbers.
std::string request(fuzz::Input& in, int seat) {
    const auto name = kRequests[in.pick(static_cast<int>(kRequests.size()))];
    std::string text(name);
    if (name == msg::startgame)
        return text + "+Ann+" + std::to_string(5 + in.pick(60)) + "+" + std::to_string(1 + in.pick(40)) +
               "+" + std::to_string(in.pick(12)) + "+";
    text += "+" + std::to_string(seat);
    if (name == msg::logininfo) return text + "+" + std::string(kVersion) + "+P" + std::to_string(seat);
    if (name == msg::chat || name == msg::action) return text + "+hi|clBlack";
    if (name == msg::justwatch) return text + "+" + std::to_string(1 + in.pick(2));
    if (name == msg::playasound) return text + "+wave" + std::to_string(1 + in.pick(20)) + "+";
    const int fields =
        name == msg::discardletter || name == msg::discardextra || name == msg::kickhim ? 1 : 2;
    for (int i = 0; i < fields; ++i)
        text += "+" + std::to_string(in.pick(12));
    return text + "+";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    GameState state;
    Shell shell;
    Timer timer;
    Random random(static_cast<std::uint32_t>(in.pick(256)));
    Game game(state, shell, random, timer, spell(), computerWords());
    // Time moves on by a fraction of a second per step, so chatter sounds meet the rate limit
    // sometimes and pass it sometimes, the same way on every run.
    std::int64_t nowMs = 0;
    Server server(state, shell, game, [&nowMs] { return nowMs; });
    shell.server = &server;
    std::array<Framer, kSeatRecords + 1> framers;
    const bool reserved = in.pick(2) == 1;
    if (reserved) server.reserveHostSeat();
    bool ownClientIn = false;

    const auto connect = [&](bool own) {
        const int seat = server.pickSeat(own);
        if (seat < 1 || seat > kSeatRecords) fail("seat out of range");
        if (reserved && seat == 1 && !own) fail("seat 1 went to a stranger");
        if (shell.open[seat]) fail("a seat was given twice");
        shell.open[seat] = true;
        framers[seat] = Framer();
        server.connectionAccepted(seat);
        if (own && seat == 1) ownClientIn = true;
    };
    const auto anyOpen = [&](int k) {
        for (int i = 0; i < kSeatRecords; ++i) {
            const int seat = (k + i) % kMaxSeats + 1;
            if (shell.open[seat]) return seat;
        }
        return 0;
    };

    while (!in.empty()) {
        nowMs += 400;
        switch (in.pick(9)) {
        case 0:
            connect(reserved && !ownClientIn && in.pick(2) == 1);
            break;
        case 1:
            if (const int seat = anyOpen(in.pick(9))) shell.close(seat);
            break;
        case 2: { // raw bytes on a connection
            const int seat = anyOpen(in.pick(9));
            const std::string bytes = in.bytes(300);
            if (!seat) break;
            std::vector<std::string> messages;
            const bool ok = framers[seat].feed(bytes, messages);
            for (auto& m : messages)
                if (shell.open[seat]) server.received(seat, std::move(m));
            if (!ok) shell.close(seat);
            break;
        }
        case 3: // a well-formed request naming the connection's own seat
        case 4: {
            const int seat = anyOpen(in.pick(9));
            if (seat) server.received(seat, request(in, seat));
            break;
        }
        case 5: { // a request naming another seat: when nothing else waits, it must do nothing
            const int origin = anyOpen(in.pick(9));
            const int named = 1 + in.pick(kMaxSeats);
            std::string text = request(in, named);
            if (!origin || named == origin || origin == 1 || splitMessage(text).name == msg::startgame) break;
            if (server.hasQueuedRequests()) break;
            const GameState before = state;
            const int sentBefore = shell.sent;
            server.received(origin, std::move(text));
            server.socktimerTimer();
            if (!sameTables(before, state) || shell.sent != sentBefore)
                fail("a request acted for another seat");
            break;
        }
        case 6:
            for (int n = in.pick(8) + 1; n > 0; --n)
                server.socktimerTimer();
            break;
        case 7:
            if (timer.running) game.turntimerTimer();
            break;
        case 8:
            if (const int seat = anyOpen(in.pick(9))) server.loginDeadline(seat);
            break;
        }
        checkTables(state, shell);
    }
    return 0;
}
