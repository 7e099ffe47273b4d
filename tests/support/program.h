#pragma once
// Starts the real program for end-to-end tests, offscreen, in a scratch folder, and stops it.
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/patience.h"

extern char** environ;

namespace plimb::test {

// True when something listens on the TCP port now; it is not connected to (a probe connection
// would take a seat).
inline bool listensOn(int port) {
    char local[16];
    std::snprintf(local, sizeof local, ":%04X", port);
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string sl, localAddress, remote, state;
        std::string line;
        std::getline(in, line);
        while (in >> sl >> localAddress >> remote >> state) {
            std::getline(in, line);
            if (state == "0A" && localAddress.size() > 5 &&
                localAddress.compare(localAddress.size() - 5, 5, local) == 0)
                return true;
        }
    }
    return false;
}

// Waits until something listens on the TCP port, without connecting to it.
inline bool waitForListener(int port, std::chrono::milliseconds patience = kPatience) {
    return waitUntil([port] { return listensOn(port); }, patience);
}

// The local ports of the established connections made to the TCP port on this machine.
inline std::multiset<unsigned> localPortsTo(int port) {
    char remotePort[16];
    std::snprintf(remotePort, sizeof remotePort, ":%04X", port);
    std::multiset<unsigned> ports;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string sl, localAddress, remote, state, line;
        std::getline(in, line);
        while (in >> sl >> localAddress >> remote >> state) {
            std::getline(in, line);
            if (state == "01" && remote.size() > 5 && remote.compare(remote.size() - 5, 5, remotePort) == 0)
                ports.insert(static_cast<unsigned>(
                    std::stoul(localAddress.substr(localAddress.size() - 4), nullptr, 16)));
        }
    }
    return ports;
}

// The number of established connections made to the TCP port on this machine (client ends).
inline int connectionsTo(int port) {
    return static_cast<int>(localPortsTo(port).size());
}

// A local (Unix domain) socket of this network namespace, as /proc/net/unix lists it.
struct LocalSocket {
    std::string inode;
    bool listening = false;
    std::string path; // empty for an unnamed socket
};

inline std::vector<LocalSocket> localSockets() {
    std::vector<LocalSocket> sockets;
    std::ifstream in("/proc/net/unix");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string num, refCount, protocol, flags, type, state;
        LocalSocket s;
        if (!(fields >> num >> refCount >> protocol >> flags >> type >> state >> s.inode)) continue;
        fields >> s.path;
        s.listening = (std::stoul(flags, nullptr, 16) & 0x10000) != 0; // __SO_ACCEPTCON
        sockets.push_back(std::move(s));
    }
    return sockets;
}

// The copies started here share one private folder for their runtime and temporary files, so
// their single-instance guards meet each other but never another test run's copies, nor a copy
// the user runs on the same machine.
inline const std::filesystem::path& sharedRuntimeDir() {
    struct Dir {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("plimb-e2e-runtime-" + std::to_string(::getpid()));
        Dir() {
            std::filesystem::create_directories(path);
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
        ~Dir() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Dir dir;
    return dir.path;
}

class Program {
public:
    // `display` keeps copies apart: the single-instance guard is per user and display.
    // `extraEnv` entries ("NAME=value") are added to the program's environment.
    Program(std::vector<std::string> args, const std::string& display,
            std::vector<std::string> extraEnv = {}) {
        static int started = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("plimb-e2e-" + display + "-" + std::to_string(::getpid()) + "-" + std::to_string(++started));
        std::filesystem::create_directories(dir_);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string s(*e);
            if (s.rfind("DISPLAY=", 0) != 0 && s.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
                s.rfind("QT_QPA_PLATFORM=", 0) != 0 && s.rfind("XDG_RUNTIME_DIR=", 0) != 0 &&
                s.rfind("TMPDIR=", 0) != 0)
                env.push_back(s);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("DISPLAY=:" + display);
        // The first of two equal names wins, so `extraEnv` may name another data folder.
        for (auto& e : extraEnv)
            env.push_back(std::move(e));
        // Settings and tally go to the program's own folder, never beside the shared binary.
        env.push_back("PLIMB_DATA_DIR=" + dir_.string());
        env.push_back("XDG_RUNTIME_DIR=" + sharedRuntimeDir().string());
        env.push_back("TMPDIR=" + sharedRuntimeDir().string());
        args.insert(args.begin(), std::string(PLIMB_BINARY_DIR) + "/plimb");
        std::vector<char*> argv, envp;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
        ok_ = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() {
        if (ok_ && running()) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    bool started() const { return ok_; }
    pid_t pid() const { return pid_; }
    // True once the program has installed a handler for `signal` (it no longer dies of it).
    bool catches(int signal) const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(in, line);)
            if (line.rfind("SigCgt:", 0) == 0)
                return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
        return false;
    }
    // Sends `signal` and waits for the program to end; returns the wait status.
    int stop(int signal) {
        int status = 0;
        ::kill(pid_, signal);
        ::waitpid(pid_, &status, 0);
        exited_ = true;
        return status;
    }
    bool running() {
        if (!ok_ || exited_) return false;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }
    // Waits for the program to end on its own; true once it has.
    bool exits(std::chrono::milliseconds patience = kPatience) {
        return waitUntil([this] { return !running(); }, patience);
    }

    // True when the program listens on a local socket in its runtime folder: its single-instance
    // guard, which it sets up once it has found no other copy.
    bool listensLocally() const {
        const int fd = connectLocally();
        if (fd >= 0) ::close(fd);
        return fd >= 0;
    }

    // Connects to the program's local socket as a later copy would, without asking for anything,
    // and waits until the program has taken the connection in; twice, the second time only after
    // the first was taken. True when it took both: its event loop has then run a whole round,
    // so whatever the program queued for its start has been done.
    bool takesLocalConnections(std::chrono::milliseconds patience = kPatience) const {
        std::vector<int> connections;
        bool taken = true;
        for (int round = 0; round < 2 && taken; ++round) {
            int fd = -1;
            taken = waitUntil([&] { return (fd = connectLocally()) >= 0; }, patience);
            if (fd >= 0) connections.push_back(fd);
            const auto wanted = connections.size();
            taken = taken && waitUntil([&] { return acceptedLocally() >= wanted; }, patience);
        }
        for (int fd : connections)
            ::close(fd);
        return taken;
    }
    const std::filesystem::path& dir() const { return dir_; }

private:
    // The inodes of the sockets the program holds open.
    std::set<std::string> socketInodes() const {
        std::set<std::string> inodes;
        std::error_code ec;
        const std::filesystem::directory_iterator end;
        for (auto fd = std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec);
             !ec && fd != end; fd.increment(ec)) {
            std::error_code linkError;
            const std::string target = std::filesystem::read_symlink(fd->path(), linkError).string();
            if (!linkError && target.rfind("socket:[", 0) == 0)
                inodes.insert(target.substr(8, target.size() - 9));
        }
        return inodes;
    }
    // A connection to the local socket this program listens on, or -1. The socket is found by
    // who answers: the path the system lists for it is where it was made, not where it was moved.
    int connectLocally() const {
        std::error_code ec;
        const std::filesystem::recursive_directory_iterator end;
        for (auto entry = std::filesystem::recursive_directory_iterator(sharedRuntimeDir(), ec);
             !ec && entry != end; entry.increment(ec)) {
            const std::string path = entry->path().string();
            std::error_code typeError;
            if (!entry->is_socket(typeError) || path.size() >= sizeof(sockaddr_un::sun_path)) continue;
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            ucred peer{};
            socklen_t length = sizeof peer;
            if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.pid == pid_)
                return fd;
            if (fd >= 0) ::close(fd);
        }
        return -1;
    }
    // How many connections to its listening local socket the program has accepted and holds.
    std::size_t acceptedLocally() const {
        const auto mine = socketInodes();
        const auto sockets = localSockets();
        std::string path;
        for (const auto& s : sockets)
            if (s.listening && !s.path.empty() && mine.count(s.inode)) path = s.path;
        std::size_t count = 0;
        for (const auto& s : sockets)
            if (!path.empty() && !s.listening && s.path == path && mine.count(s.inode)) ++count;
        return count;
    }

    pid_t pid_ = 0;
    bool ok_ = false;
    bool exited_ = false;
    std::filesystem::path dir_;
};

} // namespace plimb::test
