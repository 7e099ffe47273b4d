// A whole game over real loopback TCP: the real server in this process, two raw clients in the
// player seats and one spectator. The host's connection starts the game; both players then let
// the computer move for them, and everyone sees letters dealt, scores rise and a winner.
#include <gtest/gtest.h>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/random.h"
#include "support/qtapp.h"
#include "support/rawclient.h"
#include "ui/server/tserver.h"

using namespace std::chrono_literals;
using plimb::test::pump;
using plimb::test::RawClient;

namespace {

void login(RawClient& c, int seat, const std::string& name) {
    ASSERT_TRUE(c.connectTo(plimb::kGamePort));
    ASSERT_EQ(c.next(), "CMD_sendlogininfo+" + std::to_string(seat));
    c.sendRaw(plimb::build::logininfoRequest(seat, plimb::kVersion, name + "\xff") + "\xff");
    ASSERT_EQ(c.waitFor("CMD_newplayerinfo+" + std::to_string(seat)),
              "CMD_newplayerinfo+" + std::to_string(seat) + "+" + name);
}

TEST(GameE2E, TwoWatchingPlayersAreMovedByTheComputerToAWinner) {
    plimb::test::ensureApplication();

    plimb::Random random(20261208);
    const plimb::TDictn spell(plimb::builtinWordRecords());
    plimb::TServer server(random, spell, plimb::builtinComputerWords());
    server.listen();

    RawClient ann(pump), bob(pump), spy(pump);
    login(ann, 1, "Ann");
    login(bob, 2, "Bob");
    login(spy, 3, "Spy");

    ann.send(plimb::build::startgame("Ann", "20", "12", "10000"));
    EXPECT_EQ(bob.waitFor("CMD_startgame+"), "CMD_startgame+Ann+20+12+10000+");
    const auto dealt = bob.waitFor("CMD_letters+");
    ASSERT_TRUE(dealt.has_value());
    EXPECT_EQ(std::count(dealt->begin(), dealt->end(), '+'), 11) << "five pairs for seat 2: " << *dealt;
    EXPECT_TRUE(bob.waitFor("CMD_nextplayer+2+10000+").has_value()) << "seat 2 moves first";

    ann.send(plimb::build::justwatchRequest(1, 1));
    bob.send(plimb::build::justwatchRequest(2, 1));

    // Follow the spectator's view to the end: scores only rise, and a winner arrives.
    int lastScore[3] = {0, 0, 0};
    std::optional<std::string> winner;
    const auto deadline = std::chrono::steady_clock::now() + 240s;
    while (!winner && std::chrono::steady_clock::now() < deadline) {
        const auto m = spy.next();
        ASSERT_TRUE(m.has_value()) << "the game stalled";
        const auto message = plimb::splitMessage(*m);
        if (message.name == plimb::msg::formedword) {
            plimb::FieldReader r(message.data);
            const int seat = r.number().value_or(0);
            r.text();
            r.number();
            const int score = r.number().value_or(-1);
            ASSERT_TRUE(seat == 1 || seat == 2) << *m;
            EXPECT_GT(score, lastScore[seat]) << *m;
            lastScore[seat] = score;
        } else if (message.name == plimb::msg::winner) {
            winner = *m;
        }
    }
    ASSERT_TRUE(winner.has_value());
    const int won = (*winner)[11] - '0';
    EXPECT_GE(lastScore[won], 12);
    EXPECT_GT(lastScore[won], lastScore[3 - won]);
    EXPECT_EQ(ann.waitFor("CMD_winner+"), winner);
    EXPECT_FALSE(server.state().gamerunning);
}

} // namespace

// A peer whose connection is reset (no orderly close ever comes) loses its seat all the same:
// keeping it until a close that never arrives would leave a ghost in the seat and the turn.
TEST(GameE2E, AResetConnectionFreesItsSeatLikeAClose) {
    plimb::test::ensureApplication();

    plimb::Random random(7);
    const plimb::TDictn spell(plimb::builtinWordRecords());
    plimb::TServer server(random, spell, plimb::builtinComputerWords());
    server.listen();

    RawClient ann(pump), bob(pump);
    login(ann, 1, "Ann");
    login(bob, 2, "Bob");
    ann.send(plimb::build::startgame("Ann", "20", "50", "5"));
    ASSERT_TRUE(ann.waitFor("CMD_nextplayer+2+").has_value()) << "seat 2 moves first";

    bob.reset();
    EXPECT_EQ(ann.waitFor("CMD_playerdisconnected+"), "CMD_playerdisconnected+2+Bob");
    EXPECT_TRUE(ann.waitFor("CMD_nextplayer+1+").has_value()) << "the turn passes";

    // The seat is free, but kept a while for Bob's return: a newcomer meanwhile watches.
    RawClient cy(pump);
    ASSERT_TRUE(cy.connectTo(plimb::kGamePort));
    EXPECT_EQ(cy.next(), "CMD_sendlogininfo+3");
}
