// A relayed chatter sound really reaches the audio server, and a muted one does not: the real
// program hosts, a raw client in seat 2 sends the sound, and a private sound server with a null
// output records what the host played.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/program.h"
#include "support/rawclient.h"

using namespace std::chrono_literals;
using plimb::testing::Program;
using plimb::testing::RawClient;

namespace {

constexpr int kPort = 7772;
namespace fs = std::filesystem;

// A child process started with `sh -c`, ended with SIGTERM.
class Child {
public:
    explicit Child(const std::string& command) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(-pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = -1;
};

// Peak of a raw recording of signed 16-bit samples, as a fraction of full scale.
double peakOf(const fs::path& raw) {
    std::ifstream in(raw, std::ios::binary);
    int peak = 0;
    for (std::int16_t s; in.read(reinterpret_cast<char*>(&s), sizeof s);)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak / 32768.0;
}

class SoundE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v pulseaudio >/dev/null && command -v parec >/dev/null") != 0)
            GTEST_SKIP() << "pulseaudio and parec are needed";
        dir_ = fs::temp_directory_path() / ("plimb-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "data");
        socket_ = (dir_ / "native").string();
        server_ = std::make_unique<Child>(
            "PULSE_RUNTIME_PATH=" + (dir_ / "run").string() + " PULSE_STATE_PATH=" + (dir_ / "state").string() +
            " exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr"
            " -L 'module-null-sink sink_name=plimbnull rate=22050 channels=1'"
            " -L 'module-native-protocol-unix auth-anonymous=1 socket=" +
            socket_ + "' 2>/dev/null");
        for (int i = 0; i < 100 && !fs::exists(socket_); ++i)
            std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(fs::exists(socket_)) << "the private sound server did not start";
    }
    void TearDown() override {
        server_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Hosts with these settings, lets seat 2 send wave13 and returns the peak the host played.
    double peakHeardWith(const std::string& settings) {
        std::ofstream(dir_ / "data" / "vexolobby.ini") << "[Plimb]\r\n" << settings;
        const std::string pulse = "PULSE_SERVER=unix:" + socket_;
        Program host({"Ann", "127.0.0.1", "true"}, "e2e-sound",
                     {pulse, "PLIMB_DATA_DIR=" + (dir_ / "data").string()});
        EXPECT_TRUE(plimb::testing::waitForListener(kPort));
        std::this_thread::sleep_for(300ms);
        RawClient bob;
        EXPECT_TRUE(bob.connectTo(kPort));
        EXPECT_EQ(bob.next(), "CMD_sendlogininfo+2");
        bob.sendRaw("CMD_logininfo+2+1.0.5+Bob\xff\xff");
        EXPECT_TRUE(bob.waitFor("CMD_newplayerinfo+2+Bob").has_value());
        // The host's own arrival sound plays before its settings are read; let it end.
        std::this_thread::sleep_for(1200ms);
        const fs::path raw = dir_ / "heard.raw";
        {
            Child recorder(pulse + " exec parec --device=plimbnull.monitor --raw --format=s16le --rate=22050"
                                   " --channels=1 > " + raw.string());
            std::this_thread::sleep_for(300ms);
            bob.send("CMD_playasound+2+wave13+");
            EXPECT_EQ(bob.waitFor("CMD_playasound+"), "CMD_playasound+2+wave13+");
            std::this_thread::sleep_for(1500ms);
        }
        return peakOf(raw);
    }

    fs::path dir_;
    std::string socket_;
    std::unique_ptr<Child> server_;
};

TEST_F(SoundE2E, AChatterSoundIsHeardUnlessMuted) {
    EXPECT_GT(peakHeardWith("Playsounds=false\r\nChatterSounds=true\r\n"), 0.1)
        << "game sounds off does not mute chatter sounds";
    EXPECT_LT(peakHeardWith("Playsounds=false\r\nChatterSounds=false\r\n"), 0.01);
}

} // namespace
