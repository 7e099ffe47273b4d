// Hostile peers: long runs of random, half-valid and malformed requests from every seat must
// never break the server's tables or its promises to honest clients.
#include <gtest/gtest.h>

#include <random>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/game.h"
#include "core/server/server.h"
#include "support/fakes.h"

using namespace plimb;

namespace {

// Builds requests that look like the real ones: real names, plausible and absurd numbers.
class RequestSource {
public:
    explicit RequestSource(std::uint32_t seed) : rng_(seed) {}

    std::string next() {
        static const std::vector<std::string_view> names{msg::logininfo,
                                                         msg::kickhim,
                                                         msg::chat,
                                                         msg::action,
                                                         msg::justwatch,
                                                         msg::startgame,
                                                         msg::placemyletter,
                                                         msg::discardextra,
                                                         msg::tradingmyletter,
                                                         msg::stealinghisletter,
                                                         msg::discardletter,
                                                         msg::playasound,
                                                         "CMD_bogus",
                                                         ""};
        std::string text(names[pick(names.size())]);
        const int fields = static_cast<int>(pick(6));
        for (int i = 0; i < fields; ++i)
            text += "+" + field();
        if (pick(3) == 0) text += '+';
        return text;
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
    std::string field() {
        switch (pick(8)) {
        case 0:
            return std::to_string(static_cast<int>(pick(12)));
        case 1:
            return std::to_string(static_cast<int>(pick(12)));
        case 2:
            return "-" + std::to_string(pick(5));
        case 3:
            return "2147483647";
        case 4:
            return "99999999999";
        case 5:
            return "";
        case 6:
            return "x|clRed";
        default:
            return std::string(pick(4), static_cast<char>('a' + pick(26)));
        }
    }
    std::mt19937 rng_;
};

void expectSaneTables(const GameState& s) {
    for (int seat = 1; seat <= kSeatRecords; ++seat) {
        for (int slot = 1; slot <= kBoardSlots; ++slot) {
            EXPECT_GE(s.seats[seat].board[slot], 0);
            EXPECT_LE(s.seats[seat].board[slot], 26);
        }
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            EXPECT_GE(s.seats[seat].hand[slot], 0);
            EXPECT_LE(s.seats[seat].hand[slot], 26);
        }
        EXPECT_GE(s.seats[seat].score, 0);
    }
    EXPECT_LE(s.seatcount, kMaxSeats);
    EXPECT_TRUE(s.currentplayer >= 0 && s.currentplayer <= 2);
}

TEST(HostilePeers, RandomRequestsFromEverySeatKeepTheTablesSane) {
    GameState state;
    plimb::test::FakeOutbox out;
    plimb::test::FakeTimer timer;
    Random random(7);
    const TDictn spell(builtinWordRecords());
    Game game(state, out, random, timer, spell, builtinComputerWords());
    Server server(state, out, game);
    for (int i = 0; i < 5; ++i)
        server.connectionAccepted(server.pickSeat());
    server.received(1, build::logininfoRequest(1, kVersion, "Host"));
    server.received(1, build::startgame("Host", "30", "200", "5"));

    RequestSource source(2026);
    std::mt19937 chooser(99);
    for (int i = 0; i < 50000; ++i) {
        const int seat = static_cast<int>(chooser() % 6); // 0 and unknown seats included
        server.received(seat, source.next());
        server.socktimerTimer();
        if (timer.running && i % 7 == 0) game.turntimerTimer();
        if (i % 5000 == 4999) {
            const int gone = 2 + static_cast<int>(chooser() % 4);
            server.connectionClosed(gone);
            server.connectionAccepted(server.pickSeat());
        }
        out.clear();
    }
    expectSaneTables(state);

    // After all that, the honest path still works.
    server.received(1, build::chatRequest(1, "still here|clBlack"));
    server.socktimerTimer();
    // (A seat may have logged in again under another name: only its own name can change.)
    EXPECT_EQ(out.to(1),
              std::vector<std::string>{"CMD_chat+" + state.seats[1].name + " chats: still here|clBlack"});
}

} // namespace
