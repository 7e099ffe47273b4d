// The real program hosting on port 7772, seen from raw TCP clients.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>

#include "support/program.h"
#include "support/rawclient.h"

using namespace std::chrono_literals;
using plimb::testing::Program;
using plimb::testing::RawClient;

namespace {

constexpr int kPort = 7772;

// Starts a host and waits until it listens and its own client has had time to take seat 1.
std::unique_ptr<Program> startHost() {
    auto host = std::make_unique<Program>(std::vector<std::string>{"Ann", "127.0.0.1", "true"}, "e2e-host");
    EXPECT_TRUE(host->started());
    EXPECT_TRUE(plimb::testing::waitForListener(kPort)) << "the host never listened";
    std::this_thread::sleep_for(300ms);
    return host;
}

RawClient& login(RawClient& client, const std::string& name, int expectedSeat) {
    EXPECT_TRUE(client.connectTo(kPort));
    EXPECT_EQ(client.next(), "CMD_sendlogininfo+" + std::to_string(expectedSeat));
    client.sendRaw("CMD_logininfo+" + std::to_string(expectedSeat) + "+1.0.5+" + name + "\xff\xff");
    EXPECT_EQ(client.next(), "CMD_newplayerinfo+" + std::to_string(expectedSeat) + "+" + name);
    return client;
}

TEST(SpineE2E, LoginChatFullTableAndSpoofing) {
    auto host = startHost();

    RawClient bob;
    login(bob, "Bob", 2);
    EXPECT_EQ(bob.next(), "CMD_existingplayers+1+Ann");

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
    for (int i = 0; i < 7; ++i)
        login(spies[i], "Spy" + std::to_string(i + 3), i + 3);
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

TEST(SpineE2E, AJoiningCopyTakesSeatTwoAndEndsWithItsHost) {
    auto host = startHost();
    Program join({"Bob", "127.0.0.1", "join"}, "e2e-join");
    ASSERT_TRUE(join.started());

    // A spectator arriving before the joining copy would sit in seat 2: wait for its connection.
    for (int i = 0; i < 200 && plimb::testing::connectionsTo(kPort) < 2; ++i)
        std::this_thread::sleep_for(50ms);
    std::this_thread::sleep_for(300ms);
    RawClient spy;
    login(spy, "Spy", 3);
    EXPECT_EQ(spy.next(), "CMD_existingplayers+1+Ann");
    EXPECT_EQ(spy.next(), "CMD_existingplayers+2+Bob");

    host.reset();
    for (int i = 0; i < 100 && join.running(); ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(join.running()) << "a client whose connection closes ends its program";
}

TEST(SpineE2E, ASecondCopyOnTheSameDisplayLeavesTheFirstAlone) {
    Program first({"Ann"}, "e2e-single");
    ASSERT_TRUE(first.started());
    std::this_thread::sleep_for(1500ms);
    Program second({"Ann"}, "e2e-single");
    ASSERT_TRUE(second.started());
    for (int i = 0; i < 100 && second.running(); ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(second.running()) << "the second copy raises the first and exits";
    EXPECT_TRUE(first.running());
    Program elsewhere({"Ann"}, "e2e-single-other");
    std::this_thread::sleep_for(1000ms);
    EXPECT_TRUE(elsewhere.running()) << "a copy on another display is allowed";
}

TEST(SpineE2E, OneOrTwoParametersStartNothing) {
    Program idle({"Ann", "127.0.0.1"}, "e2e-idle");
    ASSERT_TRUE(idle.started());
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(idle.running());
    EXPECT_FALSE(plimb::testing::waitForListener(kPort, 200ms)) << "an idle copy does not host";
}

} // namespace
