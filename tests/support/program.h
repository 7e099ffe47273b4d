#pragma once
// Starts the real program for end-to-end tests, offscreen, in a scratch folder, and stops it.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace plimb::testing {

// Waits until something listens on the TCP port, without connecting to it (a probe connection
// would take a seat).
inline bool waitForListener(int port, std::chrono::milliseconds patience = std::chrono::milliseconds(15000)) {
    char local[16];
    std::snprintf(local, sizeof local, ":%04X", port);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
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
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The number of established connections made to the TCP port on this machine (client ends).
inline int connectionsTo(int port) {
    char remotePort[16];
    std::snprintf(remotePort, sizeof remotePort, ":%04X", port);
    int count = 0;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string sl, localAddress, remote, state, line;
        std::getline(in, line);
        while (in >> sl >> localAddress >> remote >> state) {
            std::getline(in, line);
            if (state == "01" && remote.size() > 5 && remote.compare(remote.size() - 5, 5, remotePort) == 0)
                ++count;
        }
    }
    return count;
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
                s.rfind("QT_QPA_PLATFORM=", 0) != 0)
                env.push_back(s);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("DISPLAY=:" + display);
        // The first of two equal names wins, so `extraEnv` may name another data folder.
        for (auto& e : extraEnv)
            env.push_back(std::move(e));
        // Settings and tally go to the program's own folder, never beside the shared binary.
        env.push_back("PLIMB_DATA_DIR=" + dir_.string());
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
    const std::filesystem::path& dir() const { return dir_; }

private:
    pid_t pid_ = 0;
    bool ok_ = false;
    bool exited_ = false;
    std::filesystem::path dir_;
};

} // namespace plimb::testing
