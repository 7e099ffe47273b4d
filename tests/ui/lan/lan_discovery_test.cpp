// Discovery for real: two computers, each a set of fresh namespaces with its own message bus and
// Avahi daemon, joined by a virtual cable. One announces a game; the other's Join dialog must
// list it with the right facts, follow its changes and drop it when it is withdrawn.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "support/patience.h"

extern char** environ;

namespace {

// One computer: lanhost.sh in new namespaces, spoken to on its standard input and heard on its
// standard output.
class Computer {
public:
    Computer(const std::string& name, const std::string& address, const std::string& avahi,
             const std::string& role) {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<std::string> args{
            "unshare",     "--net",         "--mount", "--pid",        "--fork", "--kill-child", "sh",
            PLIMB_LANHOST, "plimb-" + name, address,   "veth-" + name, avahi,    PLIMB_LANPEER,  role};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }
    ~Computer() {
        // End of input ends the program and so the script, the first process of the PID
        // namespace: the kernel ends everything else there before unshare returns, and the cable
        // goes with the network namespaces. Killing unshare does the same for one that hangs.
        close(input_);
        const auto ended = [this] { return pid_ <= 0 || waitpid(pid_, nullptr, WNOHANG) == pid_; };
        if (!plimb::test::waitUntil(ended) && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
        close(output_);
    }
    std::string pid() const { return std::to_string(pid_); }
    void say(const std::string& line) {
        const std::string text = line + "\n";
        ASSERT_EQ(write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads lines until one is exactly `line`; what was heard goes into the failure message.
    ::testing::AssertionResult hears(const std::string& line) {
        return hearsOne([&](const std::string& heard) { return heard == line; }, line);
    }
    // The first line that starts with `start`, or "" when none came.
    std::string heardStarting(const std::string& start) {
        std::string found;
        const bool came = hearsOne(
            [&](const std::string& heard) { return (found = heard).rfind(start, 0) == 0; }, start + "...");
        return came ? found : std::string();
    }

private:
    pid_t pid_ = -1;
    int input_ = -1, output_ = -1;
    std::string pending_, heard_;

    template <typename Pred>::testing::AssertionResult hearsOne(Pred wanted, const std::string& line) {
        const auto deadline = std::chrono::steady_clock::now() + plimb::test::kPatience;
        for (;;) {
            for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
                const std::string heard = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                heard_ += heard.substr(0, 200) + "\n";
                if (wanted(heard)) return ::testing::AssertionSuccess();
            }
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd fd{output_, POLLIN, 0};
            char buffer[4096];
            const ssize_t got = left.count() > 0 && poll(&fd, 1, static_cast<int>(left.count())) > 0
                                    ? read(output_, buffer, sizeof buffer)
                                    : 0;
            if (got <= 0)
                return ::testing::AssertionFailure() << "never heard \"" << line << "\"; heard:\n" << heard_;
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }
};

bool canMakeComputers() {
    return geteuid() == 0 && std::system("unshare --net --mount --pid --fork true") == 0;
}

void plugIn(Computer& alpha, Computer& beta) {
    ASSERT_TRUE(alpha.hears("unshared") && beta.hears("unshared"));
    const std::string cable =
        "ip link add veth-alpha netns " + alpha.pid() + " type veth peer name veth-beta netns " + beta.pid();
    ASSERT_EQ(std::system(cable.c_str()), 0);
    alpha.say("go");
    beta.say("go");
}

TEST(LanDiscovery, AGameOnAnotherComputerIsListedFollowedAndDroppedAndALateDaemonIsPickedUp) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root: it makes network namespaces and runs a message bus and an Avahi daemon";
    if (std::system("unshare --net --mount --pid --fork true") != 0)
        GTEST_SKIP() << "this machine does not let a test make namespaces";

    Computer beta("beta", "10.77.0.2/24", "later", "join");
    Computer alpha("alpha", "10.77.0.1/24", "now", "announce");
    plugIn(alpha, beta);

    ASSERT_TRUE(
        beta.hears("lan Games on the network cannot be listed: the Avahi service is not running on this "
                   "computer."));
    beta.say("avahi");
    ASSERT_TRUE(beta.hears("lan Games on this network (double-click one to join it):"));

    alpha.say("announce 2 waiting Ann Lee");
    ASSERT_TRUE(alpha.hears("announced Ann Lee"));
    ASSERT_TRUE(beta.hears("games\tAnn Lee|plimb-alpha|10.77.0.1|2 of 2|waiting for players"));
    alpha.say("update 3 running");
    ASSERT_TRUE(beta.hears("games\tAnn Lee|plimb-alpha|10.77.0.1|2 of 2, 1 watching|running"));
    alpha.say("withdraw");
    ASSERT_TRUE(beta.hears("games"));
}

// Names that never resolve, games on a port nobody can join, and a stream of real-looking games:
// the game hosted before or after the flood is listed during it and after it is taken back.
TEST(LanDiscovery, AFloodOfAnnouncementsNeitherHidesTheRealGameNorLeavesTheListEmpty) {
    if (!canMakeComputers()) GTEST_SKIP() << "needs root and namespaces (see the test above)";
    const struct {
        const char* flood;
        bool gameFirst;
    } rows[] = {{"ghosts 300", false}, {"flood 300 1", false}, {"stream 500 20", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.flood);
        Computer beta("beta", "10.77.0.2/24", "now", "join");
        Computer alpha("alpha", "10.77.0.1/24", "now", "announce");
        plugIn(alpha, beta);
        beta.say("watch Ann Lee");
        ASSERT_TRUE(beta.hears("watched"));
        beta.say("gap");
        ASSERT_TRUE(beta.hears("gap 0"));
        const auto host = [&] {
            alpha.say("announce 2 waiting Ann Lee");
            ASSERT_TRUE(alpha.hears("announced Ann Lee"));
        };
        const std::string listed = "watched Ann Lee|plimb-alpha|10.77.0.1|2 of 2|waiting for players";
        if (row.gameFirst) {
            host();
            ASSERT_TRUE(beta.hears(listed));
        }
        alpha.say(row.flood);
        if (row.gameFirst) std::cout << row.flood << ": " << alpha.heardStarting("streamed") << "\n";
        ASSERT_TRUE(alpha.hears("flooded"));
        if (row.gameFirst)
            beta.say("watch Ann Lee");
        else
            host();
        EXPECT_TRUE(beta.hears(listed)) << "while the flood stands";
        alpha.say("unflood");
        ASSERT_TRUE(alpha.hears("unflooded"));
        alpha.say("update 3 running");
        EXPECT_TRUE(beta.hears("watched Ann Lee|plimb-alpha|10.77.0.1|2 of 2, 1 watching|running"));
        beta.say("gap");
        // How long the dialog stood still is a figure to read, not a pass mark.
        std::cout << row.flood << ": longest stand-still in ms: " << beta.heardStarting("gap ") << "\n";
    }
}

} // namespace
