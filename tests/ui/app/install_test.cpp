// Installs the build into a scratch prefix as the package does, checks the desktop files with the
// desktop's own validators, and starts the installed program as the menu would: from the home
// folder, with no data folder named, so it must find the per-user folder by itself.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kId = "org.plimb.Plimb";

struct Outcome {
    int status;
    std::string output;
};

// Runs a shell command line, stdout and stderr together.
Outcome run(const std::string& command) {
    Outcome result{-1, {}};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        result.output += buffer.data();
    result.status = ::pclose(pipe);
    return result;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// True once the process handles `signal` itself (before that, the signal would just end it).
bool catchesSignal(pid_t pid, int signal) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("plimb-install-" + std::to_string(::getpid()));
        fs::remove_all(root);
        prefix = root / "prefix";
        home = root / "home";
        fs::create_directories(home);
        const Outcome install =
            run("cmake --install " + quoted(PLIMB_BINARY_DIR) + " --prefix " + quoted(prefix));
        ASSERT_EQ(install.status, 0) << install.output;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    fs::path root, prefix, home;
};

TEST_F(InstallTest, InstallsWhatTheDesktopExpectsAndItValidates) {
    std::vector<fs::path> expected = {
        "games/plimb",
        "share/applications/" + kId + ".desktop",
        "share/icons/hicolor/scalable/apps/" + kId + ".svg",
        "share/metainfo/" + kId + ".metainfo.xml",
        "share/man/man6/plimb.6.gz",
        "share/doc/plimb/README.md",
        "share/doc/plimb/copyright",
        "share/doc/plimb/changelog.gz",
    };
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        expected.push_back("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                           "/apps/" + kId + ".png");
    for (const fs::path& file : expected)
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    EXPECT_NE(fs::status(prefix / "games/plimb").permissions() & fs::perms::owner_exec, fs::perms::none);

    const std::string desktop = readFile(prefix / ("share/applications/" + kId + ".desktop"));
    EXPECT_NE(desktop.find("\nCategories=Game;BoardGame;"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nIcon=" + kId + "\n"), std::string::npos) << desktop;
    // Opening a plimb:// invitation starts the program with the link as its only parameter.
    EXPECT_NE(desktop.find("\nMimeType=x-scheme-handler/plimb;\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nExec=" + (prefix / "games/plimb").string() + " %u\n"), std::string::npos)
        << desktop;

    const Outcome entry =
        run("desktop-file-validate " + quoted(prefix / ("share/applications/" + kId + ".desktop")));
    EXPECT_EQ(entry.status, 0) << entry.output;
    EXPECT_EQ(entry.output, "");
    const Outcome metainfo =
        run("appstreamcli validate --no-net " + quoted(prefix / ("share/metainfo/" + kId + ".metainfo.xml")));
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;
    const Outcome manual = run("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " +
                               quoted(prefix / "share/man/man6/plimb.6.gz") + " >/dev/null");
    EXPECT_EQ(manual.status, 0) << manual.output;
    EXPECT_EQ(manual.output, "");
}

// Debian's machine-readable copyright format: a blank line would end a licence text early, and
// every licence a Files paragraph names is spelled out in a paragraph of its own.
TEST_F(InstallTest, TheCopyrightFileSpellsOutEveryLicenceItNames) {
    const std::string text = readFile(prefix / "share/doc/plimb/copyright");
    EXPECT_EQ(text.rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n", 0),
              0u);
    EXPECT_EQ(text.find("\n \n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    for (const std::string name : {"Expat", "SCOWL"}) {
        EXPECT_NE(text.find("\nLicense: " + name + "\nComment:"), std::string::npos) << name;
        EXPECT_NE(text.find("\n\nLicense: " + name + "\n "), std::string::npos) << name;
    }
}

// The package as `make package` makes it, checked by Debian's own checker: no errors, no warnings.
TEST(PackageTest, LintianReportsNothing) {
    ASSERT_EQ(run("command -v lintian").status, 0) << "lintian is missing (tools/bootstrap.sh installs it)";
    const fs::path out = fs::temp_directory_path() / ("plimb-package-" + std::to_string(::getpid()));
    fs::remove_all(out);
    const Outcome pack = run("cpack --config " + quoted(fs::path(PLIMB_BINARY_DIR) / "CPackConfig.cmake") +
                             " -B " + quoted(out));
    ASSERT_EQ(pack.status, 0) << pack.output;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".deb") deb = entry.path();
    ASSERT_FALSE(deb.empty()) << pack.output;
    // Its findings go to standard output; standard error carries only its notes about how it runs
    // (as root, say), which are kept for the message.
    const fs::path notes = out / "lintian-notes";
    const Outcome lint =
        run("{ lintian --fail-on error,warning " + quoted(deb) + " 2>" + quoted(notes) + "; }");
    EXPECT_EQ(lint.status, 0) << lint.output << readFile(notes);
    EXPECT_EQ(lint.output, "");
    std::error_code ec;
    fs::remove_all(out, ec);
}

TEST_F(InstallTest, TheInstalledProgramKeepsItsFilesInTheUserFolder) {
    // A settings file where an installed program must look for it; reading it shows it does.
    const fs::path userFolder = home / ".config" / "Plimb";
    const fs::path settings = userFolder / "vexolobby.ini";
    fs::create_directories(userFolder);
    std::ofstream(settings) << "[Plimb]\nTextsize=9\n";

    const int watcher = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(::inotify_add_watch(watcher, settings.c_str(), IN_CLOSE_NOWRITE), 0);

    std::vector<std::string> env = {
        "HOME=" + home.string(),
        "XDG_CONFIG_HOME=" + (home / ".config").string(),
        "QT_QPA_PLATFORM=offscreen",
        // A display of its own: the single-instance guard is per display.
        "DISPLAY=:install" + std::to_string(::getpid()),
        "PATH=/usr/bin:/bin",
    };
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("XDG_RUNTIME_DIR=", 0) == 0) env.emplace_back(*e);
    std::string program = (prefix / "games/plimb").string();
    std::vector<char*> argv{program.data(), nullptr};
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, home.c_str());
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

    pollfd ready{watcher, POLLIN, 0};
    const bool read = ::poll(&ready, 1, 60000) == 1;
    ::close(watcher);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!catchesSignal(pid, SIGTERM) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Closing writes the tally, so the program's data folder shows in what it leaves behind.
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(read) << "the installed program never read " << settings;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    EXPECT_TRUE(fs::is_regular_file(userFolder / "plimbtally.tld"));
    for (const fs::path& elsewhere : {prefix / "games", home}) {
        EXPECT_FALSE(fs::exists(elsewhere / "vexolobby.ini")) << elsewhere;
        EXPECT_FALSE(fs::exists(elsewhere / "plimbtally.tld")) << elsewhere;
    }
}

} // namespace
