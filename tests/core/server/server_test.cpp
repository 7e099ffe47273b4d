#include "core/server/server.h"

#include <gtest/gtest.h>

#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/game.h"
#include "support/fakes.h"

using namespace plimb;
using plimb::test::FakeOutbox;
using plimb::test::FakeTimer;
using plimb::test::Sent;

namespace {

class ServerTest : public ::testing::Test {
protected:
    ServerTest()
        : game(state, out, random, timer, spell, {"ab", "cat", "hat", "zymase"}),
          server(
              state, out, game, [this] { return now; }, [] { return std::string(kSeatSecretChars, 'c'); }) {}

    // Accepts a connection and logs it in under `name`; returns its seat.
    int join(const std::string& name, std::string_view version = kVersion) {
        const int seat = server.pickSeat();
        server.connectionAccepted(seat);
        server.received(seat, build::logininfoRequest(seat, version, name));
        drain();
        return seat;
    }
    void request(int seat, const std::string& text) {
        server.received(seat, text);
        drain();
    }
    void drain() {
        while (server.hasQueuedRequests())
            server.socktimerTimer();
    }

    GameState state;
    FakeOutbox out;
    FakeTimer timer;
    Random random{42};
    TDictn spell; // not open: no word ever scores, which these tests do not need
    std::int64_t now = 1'000'000;
    Game game;
    Server server;
};

TEST_F(ServerTest, SeatsAreHandedOutInOrderAndTheTenthIsRefused) {
    for (int expected = 1; expected <= 9; ++expected) {
        const int seat = server.pickSeat();
        EXPECT_EQ(seat, expected);
        server.connectionAccepted(seat);
        EXPECT_EQ(out.to(seat), std::vector<std::string>{build::sendlogininfo(seat)});
    }
    out.clear();
    const int tenth = server.pickSeat();
    EXPECT_EQ(tenth, 10);
    server.connectionAccepted(tenth);
    EXPECT_EQ(out.sent, (std::vector<Sent>{{10, "CMD_full+"}}));
    EXPECT_EQ(out.closed, std::vector<int>{10});
    EXPECT_EQ(state.seatcount, 9);
}

TEST_F(ServerTest, AFreedSeatIsReusedLowestFirst) {
    for (auto name : {"Ann", "Bob", "Cy", "Di"})
        join(name);
    server.connectionClosed(3);
    server.connectionClosed(2);
    EXPECT_EQ(server.pickSeat(), 2) << "a spectator arriving while seat 2 is free becomes player 2";
    server.connectionAccepted(2);
    EXPECT_EQ(server.pickSeat(), 3);
    EXPECT_EQ(state.seatcount, 4);
}

TEST_F(ServerTest, LoginExchangeInOrder) {
    join("Ann");
    out.clear();
    const int seat = server.pickSeat();
    server.connectionAccepted(seat);
    server.received(seat, build::logininfoRequest(seat, kVersion, "Bob+Lee\xff"));
    server.received(seat, ""); // the empty message after the double terminator
    drain();
    EXPECT_EQ(out.sent, (std::vector<Sent>{
                            {2, "CMD_sendlogininfo+2"},
                            {1, "CMD_newplayerinfo+2+Bob+Lee\xff"},
                            {2, "CMD_newplayerinfo+2+Bob+Lee\xff"},
                            {2, "CMD_existingplayers+1+Ann"},
                            {2, "CMD_tablestate+0.0+0+0+0+0+"},
                            {2, "CMD_seatkey+" + std::string(kSeatSecretChars, 'c') + "+"},
                        }));
}

TEST_F(ServerTest, VersionMismatchWarnsBothSidesButKeepsTheNewcomer) {
    join("Ann");
    out.clear();
    const int bob = join("Bob", "1.0.4");
    EXPECT_EQ(out.to(1).back(), "CMD_havewrongversion+Bob");
    const auto toBob = out.namesTo(bob);
    EXPECT_EQ(toBob[toBob.size() - 3], msg::wrongversion);
    EXPECT_TRUE(state.seats[bob].inuse);
    EXPECT_TRUE(out.closed.empty());
}

TEST_F(ServerTest, ChatAndActionAreRelayedWithTheSendersName) {
    join("Ann");
    join("Bo+b");
    out.clear();
    request(2, "CMD_chat+2+hi + there|clBlack");
    request(1, "CMD_action+1+says: x|$0083621B");
    EXPECT_EQ(out.to(1), (std::vector<std::string>{"CMD_chat+Bo+b chats: hi + there|clBlack",
                                                   "CMD_action+Ann says: x|$0083621B"}));
    EXPECT_EQ(out.to(2), out.to(1));
}

TEST_F(ServerTest, ChatterSoundIsRelayedWithItsTrailingPlus) {
    join("Ann");
    join("Bob");
    out.clear();
    request(2, "CMD_playasound+2+wave13+");
    EXPECT_EQ(out.to(1), std::vector<std::string>{"CMD_playasound+2+wave13+"});
}

TEST_F(ServerTest, SpoofedSeatsAreIgnored) {
    join("Ann");
    join("Bob");
    join("Spy");
    out.clear();
    request(3, "CMD_chat+1+I am Ann|clBlack");
    request(3, "CMD_justwatch+2+1");
    request(3, "CMD_kickhim+1+2+");
    request(2, "CMD_kickhim+1+3+");
    request(3, "CMD_startgame+Spy+30+200+5+");
    request(3, "CMD_logininfo+1+1.0.5+Mallory");
    request(3, "CMD_playasound+1+wave1+");
    EXPECT_TRUE(out.sent.empty());
    EXPECT_TRUE(out.closed.empty());
    EXPECT_FALSE(state.gamerunning);
    EXPECT_EQ(state.seats[1].name, "Ann");
}

TEST_F(ServerTest, MalformedNumbersChangeNothing) {
    join("Ann");
    join("Bob");
    out.clear();
    for (auto text :
         {"CMD_chat+x+hi", "CMD_kickhim+1+two+", "CMD_justwatch++1", "CMD_startgame+Ann+3O+200+5+",
          "CMD_placemyletter+2+1+", "CMD_discardextra+2+-+", "CMD_logininfo+2x+1.0.5+Eve"})
        request(text[4] == 'k' || text[4] == 's' ? 1 : 2, text);
    EXPECT_TRUE(out.sent.empty());
    EXPECT_TRUE(out.closed.empty());
    EXPECT_FALSE(state.gamerunning);
}

TEST_F(ServerTest, OnlyTheHostRemovesAndOnlyOccupiedSeats) {
    join("Ann");
    join("Bob");
    out.clear();
    request(1, "CMD_kickhim+1+5+");
    request(1, "CMD_kickhim+1+42+");
    EXPECT_TRUE(out.closed.empty());
    EXPECT_TRUE(out.sent.empty());
    request(1, "CMD_kickhim+1+2+");
    EXPECT_EQ(out.closed, std::vector<int>{2});
    // The removed player alone is told why, before its connection closes.
    EXPECT_EQ(out.sent, (std::vector<Sent>{{2, "CMD_removedfromgame+"}}));
}

TEST_F(ServerTest, DisconnectSendsOneNoticeToTheOthers) {
    join("Ann");
    join("Bob");
    join("Cy");
    out.clear();
    server.connectionClosed(3);
    server.connectionClosed(3);
    EXPECT_EQ(out.sent,
              (std::vector<Sent>{{1, "CMD_playerdisconnected+3+Cy"}, {2, "CMD_playerdisconnected+3+Cy"}}));
    EXPECT_FALSE(state.seats[3].inuse);
    EXPECT_TRUE(state.seats[3].name.empty());
}

TEST_F(ServerTest, ADisconnectNoticeReachesTheHighestSeat) {
    for (int n = 1; n <= 9; ++n)
        join("P" + std::to_string(n));
    ASSERT_EQ(state.seatcount, 9);
    out.clear();
    server.connectionClosed(4);
    EXPECT_EQ(out.to(9), std::vector<std::string>{"CMD_playerdisconnected+4+P4"});
    EXPECT_EQ(out.sent.size(), 8u);
}

TEST_F(ServerTest, RequestsOfAClosedConnectionDoNotActForTheNextOccupant) {
    join("Ann");
    join("Bob");
    out.clear();
    server.received(2, "CMD_chat+2+bye|clBlack");
    server.connectionClosed(2);
    join("Eve");
    for (const auto& s : out.sent)
        EXPECT_EQ(s.text.find("bye"), std::string::npos) << s.text;
}

TEST_F(ServerTest, AFloodingConnectionIsClosedAndItsQueueDropped) {
    join("Ann");
    join("Bob");
    out.clear();
    for (int i = 0; i < Server::kMaxQueuedPerSeat; ++i)
        server.received(2, "CMD_chat+2+spam|clBlack");
    EXPECT_TRUE(out.closed.empty());
    server.received(2, "CMD_chat+2+one too many|clBlack");
    EXPECT_EQ(out.closed, std::vector<int>{2});
    server.connectionClosed(2); // the shell reports the close
    server.received(1, "CMD_chat+1+still here|clBlack");
    drain();
    EXPECT_EQ(out.to(1), (std::vector<std::string>{"CMD_playerdisconnected+2+Bob",
                                                   "CMD_chat+Ann chats: still here|clBlack"}));
}

TEST_F(ServerTest, JustWatchIsForPlayersAndTheHostMaySwitchSeatTwo) {
    join("Ann");
    join("Bob");
    join("Cy");
    out.clear();
    request(3, "CMD_justwatch+3+1");
    EXPECT_TRUE(out.sent.empty()) << "seat 3 is never served";
    request(1, "CMD_justwatch+2+1");
    EXPECT_TRUE(state.seats[2].watchonly);
    EXPECT_EQ(out.to(3), std::vector<std::string>{"CMD_justwatching+2+1"});
    request(2, "CMD_justwatch+2+2");
    EXPECT_FALSE(state.seats[2].watchonly);
    request(2, "CMD_justwatch+2+3");
    EXPECT_EQ(out.to(3).size(), 2u) << "a flag other than 1 or 2 does nothing";
}

TEST_F(ServerTest, HostStartsAGameEvenWithAPlusInTheName) {
    join("A+nn");
    join("Bob");
    out.clear();
    request(2, "CMD_startgame+Bob+30+200+5+");
    EXPECT_FALSE(state.gamerunning) << "only the host starts games";
    request(1, "CMD_startgame+A+nn+45+300+10000+");
    EXPECT_TRUE(state.gamerunning);
    EXPECT_EQ(state.timeperturn, 45);
    EXPECT_EQ(state.playtoscore, 300);
    EXPECT_EQ(state.maxsteals, 10000);
    EXPECT_EQ(out.to(2).front(), "CMD_startgame+A+nn+45+300+10000+");
}

TEST_F(ServerTest, MovesOutsideTheTableAreIgnored) {
    join("Ann");
    join("Bob");
    request(1, "CMD_startgame+Ann+30+200+5+");
    ASSERT_EQ(state.currentplayer, 2);
    const auto before = state.seats[2];
    out.clear();
    for (auto text : {"CMD_placemyletter+2+7+1+", "CMD_placemyletter+2+0+1+", "CMD_placemyletter+2+1+11+",
                      "CMD_discardletter+2+0+", "CMD_tradingmyletter+2+1+11+",
                      "CMD_stealinghisletter+2+-1+1+", "CMD_discardextra+2+7+"})
        request(2, text);
    EXPECT_TRUE(out.sent.empty());
    EXPECT_EQ(state.seats[2].hand, before.hand);
    EXPECT_EQ(state.currentplayer, 2);
}

TEST_F(ServerTest, ANewcomerDuringAGameIsToldTheGame) {
    join("Ann");
    join("Bob");
    request(1, "CMD_startgame+Ann+30+200+5+");
    server.connectionClosed(2);
    now += Server::kKeepSeatMs; // Bob did not come back in time
    out.clear();
    const int seat = join("Eve");
    ASSERT_EQ(seat, 2);
    const auto got = out.to(2);
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(splitMessage(got[got.size() - 5]).name, msg::letters);
    EXPECT_EQ(got[got.size() - 4], "CMD_placetheletters") << "both boards are still empty";
    EXPECT_EQ(splitMessage(got[got.size() - 3]).name, msg::gamestats);
    EXPECT_EQ(splitMessage(got[got.size() - 2]).name, msg::tablestate);
    EXPECT_EQ(splitMessage(got.back()).name, msg::seatkey);
}

} // namespace
