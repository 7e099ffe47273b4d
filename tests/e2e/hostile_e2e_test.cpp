// The real program against hostile peers and a hostile host, over loopback on port 7772.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "core/net/protocol.h"
#include "support/program.h"
#include "support/rawclient.h"

using namespace std::chrono_literals;
using plimb::test::Program;
using plimb::test::RawClient;
using plimb::test::RawHost;

namespace {

constexpr int kPort = 7772;

std::unique_ptr<Program> startHost(const std::string& display) {
    auto host = std::make_unique<Program>(std::vector<std::string>{"Ann", "127.0.0.1", "true"}, display);
    EXPECT_TRUE(host->started());
    EXPECT_TRUE(plimb::test::waitForListener(kPort)) << "the host never listened";
    // Its own client in seat 1, so the peers that follow get the seats the tests count on.
    EXPECT_TRUE(plimb::test::waitUntil([] { return plimb::test::connectionsTo(kPort) >= 1; }))
        << "the host's own client never connected";
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
    // The largest chat lines the host relays.
    const std::string big =
        plimb::build::chatRequest(3, std::string(plimb::kMaxChatBytes - 8, 'w') + "|clBlack");
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
    RawHost host(kPort);
    RawClient toJoiner;
    Program join({"Bob", "127.0.0.1", "join"}, "e2e-floodhost");
    ASSERT_TRUE(host.accept(toJoiner));
    toJoiner.send("CMD_sendlogininfo+2");
    // 64 MiB of notices that no handler takes; a client that queues them all is at our mercy.
    const std::string notice = "CMD_zz+" + std::string(64 * 1024 - 8, 'z') + "\xff";
    for (int i = 0; i < 1024 && toJoiner.sendRaw(notice); ++i) {
    }
    EXPECT_TRUE(toJoiner.closedByPeer()) << "the client kept queueing";
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

// The program's resident memory in KiB.
long residentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// What a hostile input may cost a program that handles it well; the faults it stands for cost
// hundreds of megabytes.
constexpr long kMemoryAllowanceKb = 48 * 1024;

// The time from a request to its answer, or nullopt when none came within the patience.
template <typename Ask, typename Answered>
std::optional<std::chrono::milliseconds> answerTime(Ask ask, Answered answered,
                                                    std::chrono::milliseconds patience) {
    const auto start = std::chrono::steady_clock::now();
    ask();
    if (!answered(patience)) return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// After each hostile input the host must still run, relay an honest line at once once it has
// worked through what it was sent, and not have grown.
TEST(HostileE2E, TheHostOutlastsLongTextsRepeatedLoginsAndSpectatorSounds) {
    using plimb::build::chatRequest;
    const std::string longChat(65525, 'c'), longName(65516, 'n'), leavingName(65512, 'n');
    const struct {
        const char* what;
        std::function<void(RawClient& observer)> attack;
    } rows[] = {
        {"a spectator's 65,525-byte chat line",
         [&](RawClient&) {
             RawClient spy;
             const int seat = login(spy, "Spy");
             spy.send("CMD_chat+" + std::to_string(seat) + "+" + longChat + "|clBlack");
         }},
        {"a 65,516-byte name with an empty version",
         [&](RawClient&) {
             RawClient peer;
             ASSERT_TRUE(peer.connectTo(kPort));
             const auto greeting = peer.next();
             ASSERT_TRUE(greeting);
             peer.send("CMD_logininfo+" + greeting->substr(greeting->rfind('+') + 1) + "++" + longName);
             peer.next(); // its own announcement: it has been served
         }},
        {"a 65,512-byte name that logs in and leaves",
         [&](RawClient& observer) {
             {
                 RawClient peer;
                 ASSERT_TRUE(peer.connectTo(kPort));
                 const auto greeting = peer.next();
                 ASSERT_TRUE(greeting);
                 peer.send("CMD_logininfo+" + greeting->substr(greeting->rfind('+') + 1) + "+1.0.5+" +
                           leavingName);
                 peer.next();
             }
             EXPECT_TRUE(observer.waitFor("CMD_playerdisconnected+", 30s));
         }},
        {"600 logins on one connection with 60 KB names",
         [&](RawClient& observer) {
             RawClient peer;
             const int seat = login(peer, "Rex");
             const std::string again =
                 "CMD_logininfo+" + std::to_string(seat) + "+1.0.5+" + std::string(60000, 'r');
             for (int i = 0; i < 600; ++i)
                 peer.send(again);
             peer.send("CMD_chat+" + std::to_string(seat) + "+done|clBlack");
             int announcements = 0;
             while (auto m = observer.next(30s)) {
                 if (m->rfind("CMD_newplayerinfo+", 0) == 0) ++announcements;
                 if (*m == "CMD_chat+Rex chats: done|clBlack") break;
             }
             EXPECT_EQ(announcements, 1) << "a login repeated on one connection is announced again";
         }},
        {"chatter sounds from a spectator and a burst from a player",
         [&](RawClient& observer) {
             RawClient spy;
             const int seat = login(spy, "Spy");
             spy.send("CMD_playasound+" + std::to_string(seat) + "+wave1+");
             spy.send("CMD_playasound+" + std::to_string(seat) + "+goodword+");
             for (int i = 0; i < 50; ++i)
                 observer.send("CMD_playasound+2+wave" + std::to_string(1 + i % 20) + "+");
             observer.send("CMD_chat+2+done|clBlack");
             int sounds = 0;
             while (auto m = observer.next(30s)) {
                 if (m->rfind("CMD_playasound+", 0) == 0) {
                     ++sounds;
                     EXPECT_EQ(m->rfind("CMD_playasound+2+wave", 0), 0u) << *m;
                 }
                 if (m->rfind("CMD_chat+Obs chats: done", 0) == 0) break;
             }
             EXPECT_GE(sounds, 1);
             EXPECT_LT(sounds, 10) << "50 chatter sounds in a row all relayed";
         }},
    };
    for (const auto& row : rows) {
        auto host = startHost("e2e-long");
        RawClient observer;
        ASSERT_EQ(login(observer, "Obs"), 2) << row.what;
        const long before = residentKb(host->pid());
        row.attack(observer);
        const auto relayed = [&](std::chrono::milliseconds patience) {
            return observer.waitFor("CMD_chat+Obs chats: ping", patience).has_value();
        };
        const auto ping = [&] { observer.send(chatRequest(2, "ping|clBlack")); };
        ASSERT_TRUE(answerTime(ping, relayed, 60s)) << row.what << ": the host stopped answering";
        const auto second = answerTime(ping, relayed, 60s);
        ASSERT_TRUE(second) << row.what;
        EXPECT_LT(second->count(), 1000) << row.what << ": slow to answer after it";
        EXPECT_TRUE(host->running()) << row.what;
        EXPECT_LT(residentKb(host->pid()) - before, kMemoryAllowanceKb) << row.what;
    }
}

// A host of our own, scripted to lie to a real joining copy: it seats the joiner as player 2
// next to "Ann".
bool seatJoiner(RawHost& host, RawClient& joiner) {
    if (!host.accept(joiner)) return false;
    joiner.send("CMD_sendlogininfo+2");
    if (!joiner.waitFor("CMD_logininfo+2+")) return false;
    joiner.send("CMD_newplayerinfo+2+Bob");
    joiner.send("CMD_existingplayers+1+Ann");
    return true;
}

// The joiner answers a new seat number with its login: it has worked through everything sent
// before.
bool answers(RawClient& joiner, std::chrono::milliseconds patience) {
    joiner.send("CMD_sendlogininfo+2");
    return joiner.waitFor("CMD_logininfo+2+", patience).has_value();
}

std::string repeated(const std::string& notice, int times) {
    std::string bytes;
    for (int i = 0; i < times; ++i)
        bytes += notice + '\xff';
    return bytes;
}

TEST(HostileE2E, AJoinerOutlastsFakeResultsRepeatedBoxesAndASpyFlood) {
    const std::string start = "CMD_startgame+Ann+30+200+5+";
    const struct {
        const char* what;
        std::string notices;
        bool tallyWritten; // a game counted: the tally is written at once
    } rows[] = {
        {"2,000 winners with no game", repeated("CMD_winner+1+", 2000), false},
        {"a 60,000-letter word", start + '\xff' + "CMD_formedword+2+" + std::string(60000, 'a') + "+5+5+\xff",
         false},
        {"one game won twice", start + '\xff' + repeated("CMD_winner+2+", 2), true},
        {"31 steal refusals", repeated("CMD_notvalid+2+", 31), false},
        {"5,000 spy announcements", repeated("CMD_newplayerinfo+3+x", 5000), false},
    };
    for (const auto& row : rows) {
        RawHost host(kPort);
        RawClient toJoiner;
        Program joiner({"Bob", "127.0.0.1", "join"}, "e2e-liar");
        ASSERT_TRUE(seatJoiner(host, toJoiner)) << row.what;
        ASSERT_TRUE(answers(toJoiner, 60s)) << row.what;
        const long before = residentKb(joiner.pid());
        toJoiner.sendRaw(row.notices);
        ASSERT_TRUE(answers(toJoiner, 120s)) << row.what << ": the joiner stopped answering";
        const auto second =
            answerTime([] {}, [&](std::chrono::milliseconds p) { return answers(toJoiner, p); }, 60s);
        ASSERT_TRUE(second) << row.what;
        EXPECT_LT(second->count(), 1000) << row.what << ": slow to answer after it";
        EXPECT_LT(residentKb(joiner.pid()) - before, kMemoryAllowanceKb) << row.what;
        EXPECT_EQ(std::filesystem::exists(joiner.dir() / "plimbtally.tld"), row.tallyWritten) << row.what;
        EXPECT_TRUE(joiner.running()) << row.what;
    }
}

} // namespace
