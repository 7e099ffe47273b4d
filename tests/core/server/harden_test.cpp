// The server's defences against connections that are not the honest clients they claim to be:
// seat 1 kept for the host's own client, a fair share of ticks per connection, a deadline for
// logging in, and move requests bound to the seat they arrive from.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "core/dict/tdictn.h"
#include "core/net/framer.h"
#include "core/net/protocol.h"
#include "core/rules/game.h"
#include "core/server/server.h"
#include "support/fakes.h"

using namespace plimb;
using plimb::test::FakeOutbox;
using plimb::test::FakeTimer;

namespace {

struct Table {
    GameState state;
    FakeOutbox out;
    FakeTimer timer;
    Random random{42};
    TDictn spell;
    Game game{state, out, random, timer, spell, {"ab", "cat"}};
    std::int64_t nowMs = 0;
    Server server{state, out, game, [this] { return nowMs; }};

    int accept(bool ownClient = false) {
        const int seat = server.pickSeat(ownClient);
        server.connectionAccepted(seat);
        return seat;
    }
    int join(const std::string& name, bool ownClient = false) {
        const int seat = accept(ownClient);
        server.received(seat, build::logininfoRequest(seat, kVersion, name));
        drain();
        return seat;
    }
    void drain() {
        while (server.hasQueuedRequests())
            server.socktimerTimer();
    }
};

TEST(HostSeat, OnlyTheOwnClientTakesSeatOneWhenItIsReserved) {
    Table t;
    t.server.reserveHostSeat();
    EXPECT_EQ(t.accept(), 2) << "a peer that arrives before the host's client";
    EXPECT_EQ(t.accept(), 3);
    EXPECT_EQ(t.accept(true), 1);
    t.server.connectionClosed(2);
    t.server.connectionClosed(1);
    EXPECT_EQ(t.accept(), 2) << "seat 1 stays kept even while free";
    for (int seat = 4; seat <= kMaxSeats; ++seat)
        EXPECT_EQ(t.accept(), seat);
    EXPECT_EQ(t.server.pickSeat(), 10) << "eight peers fill the table";
    EXPECT_EQ(t.accept(true), 1);
    EXPECT_EQ(t.state.seatcount, kMaxSeats);
}

TEST(HostSeat, WithoutAReservationTheFirstConnectionTakesSeatOne) {
    Table t;
    EXPECT_EQ(t.accept(), 1);
    EXPECT_EQ(t.accept(), 2);
}

TEST(FairShare, ABusyConnectionDoesNotDelayTheOthers) {
    Table t;
    t.join("Ann");
    t.join("Bob");
    const int newcomer = t.accept();
    t.out.clear();
    for (int i = 0; i < 500; ++i)
        t.server.received(2, "junk");
    t.server.received(2, build::chatRequest(2, "after the junk|clBlack"));
    t.server.received(newcomer, build::logininfoRequest(newcomer, kVersion, "Cy"));
    t.server.received(newcomer, build::chatRequest(newcomer, "first|clBlack"));
    t.server.received(1, build::chatRequest(1, "one|clBlack"));
    t.server.received(1, build::chatRequest(1, "two|clBlack"));
    for (int tick = 0; tick < 6; ++tick)
        t.server.socktimerTimer();
    // Six ticks: two for each connection with work, in the order each one sent.
    std::vector<std::string> chats;
    for (const auto& m : t.out.to(1))
        if (splitMessage(m).name == msg::chat) chats.push_back(m);
    EXPECT_EQ(chats,
              (std::vector<std::string>{"CMD_chat+Ann chats: one|clBlack", "CMD_chat+Cy chats: first|clBlack",
                                        "CMD_chat+Ann chats: two|clBlack"}));
    t.drain();
    EXPECT_EQ(t.out.to(1).back(), "CMD_chat+Bob chats: after the junk|clBlack");
}

TEST(FairShare, EmptyMessagesTakeNoTurn) {
    Table t;
    t.join("Ann");
    t.server.received(1, "");
    EXPECT_FALSE(t.server.hasQueuedRequests());
}

TEST(LoginDeadline, ClosesOnlyConnectionsThatHaveNotLoggedIn) {
    Table t;
    const int ann = t.join("Ann");
    const int silent = t.accept();
    const int wrongSeat = t.accept();
    t.server.received(wrongSeat, build::logininfoRequest(ann, kVersion, "Mallory")); // names another seat
    t.drain();
    for (int seat : {ann, silent, wrongSeat})
        t.server.loginDeadline(seat);
    EXPECT_EQ(t.out.closed, (std::vector<int>{silent, wrongSeat}));
    EXPECT_TRUE(t.server.loggedIn(ann));

    // The seat's next occupant starts over.
    t.server.connectionClosed(silent);
    t.out.clear();
    EXPECT_EQ(t.accept(), silent);
    EXPECT_FALSE(t.server.loggedIn(silent));
    t.server.loginDeadline(silent);
    EXPECT_EQ(t.out.closed, std::vector<int>{silent});
}

// Every move request names the acting seat; a connection may only act for its own seat, or a
// spectator or the opponent could play the current player's hand.
TEST(SeatBinding, MoveRequestsNamingAnotherSeatChangeNothing) {
    const std::vector<std::string> moves{"CMD_placemyletter+2+%h+3+", "CMD_tradingmyletter+2+1+2+",
                                         "CMD_stealinghisletter+2+1+3+", "CMD_discardletter+2+1+",
                                         "CMD_discardextra+2+%h+"};
    for (const auto& pattern : moves) {
        auto t = std::make_unique<Table>();
        t->join("Ann");
        t->join("Bob");
        t->join("Spy");
        t->server.received(1, build::startgame("Ann", "30", "200", "5"));
        t->drain();
        ASSERT_EQ(t->state.currentplayer, 2);
        // Letters on both boards, so that every move would act if it came from seat 2.
        auto& bob = t->state.seats[2];
        bob.board[1] = 3;
        bob.board[2] = 1;
        t->state.seats[1].board[1] = 20;
        int hand = 1;
        while (hand <= kHandSlots && bob.hand[hand] == 0)
            ++hand;
        ASSERT_LE(hand, kHandSlots);
        std::string request = pattern;
        if (const auto at = request.find("%h"); at != std::string::npos)
            request.replace(at, 2, std::to_string(hand));

        const auto seats = t->state.seats;
        t->out.clear();
        for (int origin : {1, 3})
            t->server.received(origin, request);
        t->drain();
        EXPECT_TRUE(t->out.sent.empty()) << request;
        for (int seat : {1, 2, 3}) {
            EXPECT_EQ(t->state.seats[seat].board, seats[seat].board) << request;
            EXPECT_EQ(t->state.seats[seat].hand, seats[seat].hand) << request;
        }
        EXPECT_EQ(t->state.currentplayer, 2) << request;

        t->server.received(2, request);
        t->drain();
        EXPECT_FALSE(t->out.sent.empty()) << request << " acts when seat 2 sends it";
    }
}

// Every peer closes a connection on a message over the framer's cap, the host's own client
// included, so a notice built from a peer's text must never reach it.
TEST(NoticeSize, APeersLongTextsNeverMakeANoticeItsPeersCloseOn) {
    using Lines = std::vector<std::string>;
    Table t;
    t.join("Ann");
    const int peer = t.accept();
    const std::string longName(65516, 'n'), cut(kMaxNameBytes, 'n');
    t.out.clear();
    t.server.received(peer, build::logininfoRequest(peer, "", longName));
    t.drain();
    EXPECT_EQ(t.out.to(1), (Lines{build::newplayerinfo(peer, cut), build::havewrongversion(cut)}));

    const std::string colour = "|clBlack";
    const std::string fits(kMaxChatBytes - colour.size(), 'c');
    const struct {
        const char* what;
        std::string request;
        bool relayed;
    } rows[] = {
        {"chat at the limit", build::chatRequest(peer, fits + colour), true},
        {"chat one byte over", build::chatRequest(peer, fits + "c" + colour), false},
        {"action at the limit", build::actionRequest(peer, fits + colour), true},
        {"action one byte over", build::actionRequest(peer, fits + "c" + colour), false},
    };
    for (const auto& row : rows) {
        t.out.clear();
        t.server.received(peer, row.request);
        t.drain();
        EXPECT_EQ(t.out.to(1).size(), row.relayed ? 1u : 0u) << row.what;
        for (const auto& sent : t.out.sent)
            EXPECT_LT(sent.text.size(), Framer::kDefaultCap) << row.what;
    }

    t.out.clear();
    t.server.received(1, build::startgame(longName, "30", "200", "5"));
    t.drain();
    ASSERT_FALSE(t.out.to(1).empty());
    EXPECT_EQ(t.out.to(1).front(), build::startgame(cut, "30", "200", "5"));
    t.out.clear();
    t.server.connectionClosed(peer);
    ASSERT_FALSE(t.out.to(1).empty());
    EXPECT_EQ(t.out.to(1).front(), build::playerdisconnected(peer, cut));
}

TEST(Login, ASecondLoginOnTheSameConnectionIsIgnored) {
    Table t;
    t.join("Ann");
    const int bob = t.join("Bob");
    t.out.clear();
    for (int i = 0; i < 100; ++i)
        t.server.received(bob, build::logininfoRequest(bob, kVersion, "Mallory"));
    t.drain();
    EXPECT_TRUE(t.out.sent.empty());
    EXPECT_EQ(t.state.seats[bob].name, "Bob");
}

TEST(ChatterSounds, OnlyPlayersChatterSoundsAreRelayedAndNotWithoutPause) {
    Table t;
    t.join("Ann");
    t.join("Bob");
    const int spy = t.join("Spy");
    const struct {
        const char* what;
        int seat;
        std::string request;
        std::int64_t afterMs;
        bool relayed;
    } rows[] = {
        {"a player's chatter sound", 1, "CMD_playasound+1+wave13+", 0, true},
        {"the same player within a second", 1, "CMD_playasound+1+wave2+", 999, false},
        {"the other player meanwhile", 2, "CMD_playasound+2+wave2+", 0, true},
        {"a second later", 1, "CMD_playasound+1+wave20+", 1, true},
        {"a spectator", spy, "CMD_playasound+" + std::to_string(spy) + "+wave1+", 5000, false},
        {"a game sound", 2, "CMD_playasound+2+winner+", 5000, false},
        {"no such chatter", 2, "CMD_playasound+2+wave21+", 5000, false},
        {"more after the sound", 2, "CMD_playasound+2+wave1+x+", 5000, false},
    };
    for (const auto& row : rows) {
        t.nowMs += row.afterMs;
        t.out.clear();
        t.server.received(row.seat, row.request);
        t.drain();
        EXPECT_EQ(t.out.to(spy).size(), row.relayed ? 1u : 0u) << row.what;
    }
}

} // namespace
