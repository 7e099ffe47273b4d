// The real program against hostile peers and a hostile host, over loopback on port 7772.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

#include "support/program.h"
#include "support/rawclient.h"

using namespace std::chrono_literals;
using plimb::testing::Program;
using plimb::testing::RawClient;

namespace {

constexpr int kPort = 7772;

std::unique_ptr<Program> startHost(const std::string& display) {
    auto host = std::make_unique<Program>(std::vector<std::string>{"Ann", "127.0.0.1", "true"}, display);
    EXPECT_TRUE(host->started());
    EXPECT_TRUE(plimb::testing::waitForListener(kPort)) << "the host never listened";
    return host;
}

// Logs in on whatever seat the host gives; returns the seat (0 on failure).
int login(RawClient& client, const std::string& name) {
    if (!client.connectTo(kPort)) return 0;
    const auto first = client.next();
    const std::string prefix = "CMD_sendlogininfo+";
    if (!first || first->rfind(prefix, 0) != 0) return 0;
    const int seat = std::stoi(first->substr(prefix.size()));
    client.sendRaw("CMD_logininfo+" + std::to_string(seat) + "+1.0.5+" + name + "\xff\xff");
    return client.waitFor("CMD_newplayerinfo+" + std::to_string(seat) + "+" + name) ? seat : 0;
}

int rawConnect(int port, int receiveBuffer = 0) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    ::close(fd);
    return -1;
}

// Connects the moment the port opens, before the host's own client can (it wins that race often,
// not always); returns the socket, or -1.
int raceTheHost(std::unique_ptr<Program>& host, const std::string& display) {
    std::atomic<bool> stop{false};
    std::atomic<int> fd{-1};
    std::thread racer([&] {
        while (!stop && fd < 0)
            fd = rawConnect(kPort);
    });
    host = std::make_unique<Program>(std::vector<std::string>{"Ann", "127.0.0.1", "true"}, display);
    for (int i = 0; i < 300 && fd < 0; ++i)
        std::this_thread::sleep_for(50ms);
    stop = true;
    racer.join();
    return fd;
}

TEST(HostileE2E, APeerRacingTheHostsStartNeverTakesSeatOne) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::unique_ptr<Program> host;
        const int fd = raceTheHost(host, "e2e-race");
        ASSERT_GE(fd, 0);
        std::string first;
        for (char c = 0; ::recv(fd, &c, 1, 0) == 1 && c != '\xff';)
            first += c;
        EXPECT_EQ(first.rfind("CMD_sendlogininfo+", 0), 0u) << first;
        EXPECT_NE(first, "CMD_sendlogininfo+1") << "attempt " << attempt;
        // The host's own client still arrives in seat 1.
        RawClient spy;
        EXPECT_GE(login(spy, "Spy"), 2);
        bool annInSeatOne = false;
        while (auto m = spy.next(3s))
            if ((annInSeatOne = *m == "CMD_existingplayers+1+Ann" || *m == "CMD_newplayerinfo+1+Ann")) break;
        EXPECT_TRUE(annInSeatOne);
        ::close(fd);
        EXPECT_TRUE(host->running());
    }
}

TEST(HostileE2E, APeerThatNeverReadsIsDisconnectedInsteadOfFillingTheHost) {
    auto host = startHost("e2e-nonreader");
    std::this_thread::sleep_for(300ms);
    // The non-reader logs in with a tiny receive window and then never reads again.
    const int eater = rawConnect(kPort, 4096);
    ASSERT_GE(eater, 0);
    std::string greeting;
    for (char c = 0; ::recv(eater, &c, 1, 0) == 1 && c != '\xff';)
        greeting += c;
    ASSERT_EQ(greeting, "CMD_sendlogininfo+2");
    const std::string loginText = "CMD_logininfo+2+1.0.5+Eater\xff\xff";
    ::send(eater, loginText.data(), loginText.size(), MSG_NOSIGNAL);

    RawClient talker;
    ASSERT_EQ(login(talker, "Talker"), 3);
    // Large relays that the host's own client takes in its stride (an unknown sound).
    const std::string big = "CMD_playasound+3+" + std::string(60000, 'w') + "+";
    bool gone = false;
    for (int i = 0; i < 800 && !gone; ++i) {
        talker.send(big);
        while (auto m = talker.next(i % 8 == 7 ? 50ms : 1ms)) {
            if (m->rfind("CMD_playerdisconnected+2+Eater", 0) == 0) gone = true;
        }
    }
    if (!gone) gone = talker.waitFor("CMD_playerdisconnected+2+Eater", 20s).has_value();
    EXPECT_TRUE(gone) << "the non-reader keeps its seat and its ever-growing buffer";
    ::close(eater);
    EXPECT_TRUE(host->running());
}

TEST(HostileE2E, ABusyConnectionDoesNotDelayANewcomersLogin) {
    auto host = startHost("e2e-flood");
    std::this_thread::sleep_for(300ms);
    RawClient flooder;
    ASSERT_EQ(login(flooder, "Flood"), 2);
    std::string junk;
    for (int i = 0; i < 990; ++i)
        junk += "x\xff";
    flooder.sendRaw(junk + "CMD_chat+2+flood over|clBlack\xff");

    // The newcomer logs in and speaks at once; the flooder's last line is long queued by then.
    RawClient newcomer;
    ASSERT_TRUE(newcomer.connectTo(kPort));
    ASSERT_EQ(newcomer.next(), "CMD_sendlogininfo+3");
    newcomer.sendRaw("CMD_logininfo+3+1.0.5+Cy\xff\xff"
                     "CMD_chat+3+hello|clBlack\xff");
    EXPECT_EQ(newcomer.waitFor("CMD_chat+", 20s), "CMD_chat+Cy chats: hello|clBlack")
        << "the newcomer waited behind everything the flooder had queued";
    EXPECT_TRUE(host->running());
}

TEST(HostileE2E, ConnectionsThatNeverLogInLoseTheirSeats) {
    auto host = startHost("e2e-silent");
    std::this_thread::sleep_for(300ms);
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 8; ++i) {
        silent.push_back(std::make_unique<RawClient>());
        ASSERT_TRUE(silent.back()->connectTo(kPort));
        ASSERT_TRUE(silent.back()->next().has_value());
        if (i % 2) silent.back()->sendRaw("CMD_logininfo+"); // stops half-way through
    }
    RawClient late;
    ASSERT_TRUE(late.connectTo(kPort));
    EXPECT_EQ(late.next(), "CMD_full+") << "eight silent connections fill the table";
    for (auto& s : silent)
        EXPECT_TRUE(s->closedByPeer(25s));
    RawClient player;
    EXPECT_EQ(login(player, "Bob"), 2);
    EXPECT_TRUE(host->running());
}

// A host of our own that floods a joining copy with long notices.
TEST(HostileE2E, AJoiningClientClosesOnAHostThatFloodsIt) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kPort);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 5), 0);
    Program join({"Bob", "127.0.0.1", "join"}, "e2e-floodhost");
    pollfd p{listener, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 15000), 1);
    const int fd = ::accept(listener, nullptr, nullptr);
    ::close(listener);
    ASSERT_GE(fd, 0);
    const std::string hello = "CMD_sendlogininfo+2\xff";
    ::send(fd, hello.data(), hello.size(), MSG_NOSIGNAL);

    // 64 MiB of notices that no handler takes; a client that queues them all is at our mercy.
    const std::string notice = "CMD_zz+" + std::string(64 * 1024 - 8, 'z') + "\xff";
    bool closed = false;
    for (int i = 0; i < 1024 && !closed; ++i)
        closed = ::send(fd, notice.data(), notice.size(), MSG_NOSIGNAL) < 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    char buf[4096];
    while (!closed && std::chrono::steady_clock::now() < deadline) {
        pollfd q{fd, POLLIN, 0};
        if (::poll(&q, 1, 100) == 1) closed = ::recv(fd, buf, sizeof buf, 0) <= 0;
    }
    ::close(fd);
    EXPECT_TRUE(closed) << "the client kept queueing";
}

TEST(HostileE2E, TermHupAndIntCloseTheWindowTheNormalWay) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        Program idle({"Ann", "127.0.0.1"}, "e2e-signal");
        ASSERT_TRUE(idle.started());
        for (int i = 0; i < 200 && !idle.catches(signal); ++i)
            std::this_thread::sleep_for(50ms);
        const int status = idle.stop(signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "signal " << signal << " ended the program without closing its window";
    }
}

} // namespace
