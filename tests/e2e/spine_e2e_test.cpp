// The real program hosting on port 7772, seen from raw TCP clients.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "support/program.h"
#include "support/rawclient.h"

using plimb::test::Program;
using plimb::test::RawClient;
using plimb::test::waitUntil;

namespace {

constexpr int kPort = 7772;

// Starts a host and waits until it listens. Seat 1 is kept for its own client, which logs in at
// its own pace.
std::unique_ptr<Program> startHost() {
    auto host = std::make_unique<Program>(std::vector<std::string>{"Ann", "127.0.0.1", "true"}, "e2e-host");
    EXPECT_TRUE(host->started());
    EXPECT_TRUE(plimb::test::waitForListener(kPort)) << "the host never listened";
    return host;
}

// Logs in on the expected seat; returns what the client heard before its own arrival, since
// others may arrive meanwhile.
std::vector<std::string> login(RawClient& client, const std::string& name, int expectedSeat) {
    std::vector<std::string> heard;
    EXPECT_TRUE(client.connectTo(kPort));
    EXPECT_EQ(client.next(), "CMD_sendlogininfo+" + std::to_string(expectedSeat));
    client.sendRaw("CMD_logininfo+" + std::to_string(expectedSeat) + "+1.0.5+" + name + "\xff\xff");
    const std::string arrival = "CMD_newplayerinfo+" + std::to_string(expectedSeat) + "+" + name;
    for (auto m = client.next(); m; m = client.next()) {
        if (*m == arrival) return heard;
        heard.push_back(*m);
    }
    ADD_FAILURE() << name << " never arrived in seat " << expectedSeat;
    return heard;
}

// Reads on until the client has heard of each player ("seat+name"), announced on arrival or
// listed as already there; `heard` is what it read before.
bool hearsOf(RawClient& client, const std::vector<std::string>& heard, std::vector<std::string> players) {
    const auto note = [&](const std::string& m) {
        std::erase_if(players, [&](const std::string& p) {
            return m == "CMD_newplayerinfo+" + p || m == "CMD_existingplayers+" + p;
        });
    };
    std::for_each(heard.begin(), heard.end(), note);
    while (!players.empty()) {
        const auto m = client.next();
        if (!m) return false;
        note(*m);
    }
    return true;
}

TEST(SpineE2E, LoginChatFullTableAndSpoofing) {
    auto host = startHost();

    RawClient bob;
    // The host's own client may log in before Bob or after him: he hears of it either way.
    ASSERT_TRUE(hearsOf(bob, login(bob, "Bob", 2), {"1+Ann"}));

    // The relay comes after everything the logins sent Bob, so nothing is left before the next one.
    bob.send("CMD_chat+2+hello + all|clBlack");
    EXPECT_EQ(bob.waitFor("CMD_chat+"), "CMD_chat+Bob chats: hello + all|clBlack");

    // Spoofed and malformed requests change nothing; the next honest one still works.
    bob.send("CMD_chat+1+I am Ann|clBlack");
    bob.send("CMD_chat+x+broken|clBlack");
    bob.send("CMD_kickhim+1+1+");
    bob.send("CMD_startgame+Bob+30+200+5+");
    bob.send("CMD_action+2+waves|clBlack");
    EXPECT_EQ(bob.waitFor("CMD_"), "CMD_action+Bob waves|clBlack");

    std::array<RawClient, 7> spies;
    for (int i = 0; i < 7; ++i) {
        login(spies[i], "Spy" + std::to_string(i + 3), i + 3);
        if (i == 0) {
            EXPECT_EQ(spies[0].next(), "CMD_existingplayers+1+Ann") << "a newcomer hears who is there";
            EXPECT_EQ(spies[0].next(), "CMD_existingplayers+2+Bob");
        }
    }
    EXPECT_EQ(bob.waitFor("CMD_newplayerinfo+9+"), "CMD_newplayerinfo+9+Spy9");

    RawClient tenth;
    ASSERT_TRUE(tenth.connectTo(kPort));
    EXPECT_EQ(tenth.next(), "CMD_full+");
    EXPECT_TRUE(tenth.closedByPeer());

    // A spectator leaving is announced once to the others; its seat is handed out again.
    spies[0].disconnect();
    EXPECT_EQ(bob.waitFor("CMD_playerdisconnected+"), "CMD_playerdisconnected+3+Spy3");
    RawClient again;
    login(again, "Eve", 3);

    EXPECT_TRUE(host->running());
}

TEST(SpineE2E, AnUnterminatedFloodClosesOnlyThatConnection) {
    auto host = startHost();
    RawClient bob;
    ASSERT_TRUE(bob.connectTo(kPort));
    ASSERT_TRUE(bob.next().has_value());
    bob.sendRaw(std::string(70 * 1024, 'x'));
    EXPECT_TRUE(bob.closedByPeer());
    RawClient cy;
    ASSERT_TRUE(cy.connectTo(kPort));
    EXPECT_TRUE(cy.next().has_value());
    EXPECT_TRUE(host->running());
}

TEST(SpineE2E, AJoiningCopyTakesSeatTwoAndComesBackWithItsHost) {
    auto host = startHost();
    Program join({"Bob", "127.0.0.1", "join"}, "e2e-join");
    ASSERT_TRUE(join.started());

    // A spectator arriving before the joining copy would sit in seat 2: wait for its connection.
    ASSERT_TRUE(waitUntil([] { return plimb::test::connectionsTo(kPort) >= 2; }));
    RawClient spy;
    // Both copies log in at their own pace, before the spy or after it.
    EXPECT_TRUE(hearsOf(spy, login(spy, "Spy", 3), {"1+Ann", "2+Bob"}));

    // The joining copy outlives its host: it tries again by itself and is back in seat 2 as soon
    // as a host listens again.
    host.reset();
    host = startHost();
    ASSERT_TRUE(waitUntil([] { return plimb::test::connectionsTo(kPort) >= 2; }));
    RawClient spyAgain;
    EXPECT_TRUE(hearsOf(spyAgain, login(spyAgain, "Spy", 3), {"1+Ann", "2+Bob"}));
    EXPECT_TRUE(join.running());
}

TEST(SpineE2E, ASecondCopyOnTheSameDisplayLeavesTheFirstAlone) {
    Program first({"Ann"}, "e2e-single");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(waitUntil([&] { return first.listensLocally(); })) << "the first copy keeps no guard";
    Program second({"Ann"}, "e2e-single");
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.exits()) << "the second copy raises the first and exits";
    EXPECT_TRUE(first.running());
    // A copy that finds no other sets up a guard of its own; one that found another exits instead.
    Program elsewhere({"Ann"}, "e2e-single-other");
    EXPECT_TRUE(waitUntil([&] { return elsewhere.listensLocally() || !elsewhere.running(); }));
    EXPECT_TRUE(elsewhere.running()) << "a copy on another display is allowed";
}

TEST(SpineE2E, OneOrTwoParametersStartNothing) {
    Program idle({"Ann", "127.0.0.1"}, "e2e-idle");
    ASSERT_TRUE(idle.started());
    // The command line is read in the event loop's first round; a copy that has answered at its
    // guard twice has read it, and would be listening by now if it hosted.
    ASSERT_TRUE(idle.takesLocalConnections()) << "the idle copy never got to its event loop";
    EXPECT_TRUE(idle.running());
    EXPECT_FALSE(plimb::test::listensOn(kPort)) << "an idle copy does not host";
}

} // namespace
