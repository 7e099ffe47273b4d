// A relayed chatter sound really reaches the audio server, and a muted one does not: the real
// program joins a host the test plays on port 7772, so the test knows exactly what the program
// was told and when it had dealt with it, and a private sound server with a null output records
// what the program played.
//
// The null output hands its sound on in blocks of up to two seconds, and a busy machine delays
// every step, so nothing here is timed by the clock. A sound that should be heard is waited for
// in the growing recording. Silence is proven in recorded samples: the program answers a second
// request for its login only after everything sent before it, so once it has answered, the muted
// sound has been dealt with, and the recording after that point is long enough to hold the whole
// sound had it been played. An arrival chime sent after it must then be heard: the program still
// sounds. The chime could not prove the silence alone: a new sound cuts off the one still
// playing, so a wrongly played sound cut off at once might never reach the recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/patience.h"
#include "support/program.h"
#include "support/rawclient.h"

using plimb::test::Program;
using plimb::test::RawClient;
using plimb::test::RawHost;
using plimb::test::waitUntil;

namespace {

constexpr int kPort = 7772;
constexpr std::size_t kRate = 22050; // samples per second of the null output and the recording
// Game sounds last at most a second, chatter sounds at most two (resources/sounds/README.md);
// the null output may hold a sound back by up to two seconds more.
constexpr std::size_t kChimeSpan = kRate * 3 / 2;
constexpr std::size_t kMutedSpan = kRate * 5;
constexpr double kLoud = 0.1;
constexpr double kSilent = 0.01;
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

// A raw recording of signed 16-bit mono samples that a recorder is still writing.
class Recording {
public:
    explicit Recording(fs::path path) : path_(std::move(path)) {}
    std::size_t samples() const {
        std::error_code ec;
        const auto bytes = fs::file_size(path_, ec);
        return ec ? 0 : bytes / 2;
    }
    // The loudest sample in [from, to), as a fraction of full scale.
    double peak(std::size_t from, std::size_t to) const {
        int peak = 0;
        read(from, to, [&](std::size_t, int level) {
            peak = std::max(peak, level);
            return true;
        });
        return peak / 32768.0;
    }
    // The first sample from `from` on that is louder than `level`, if one was recorded yet.
    std::optional<std::size_t> firstAbove(double level, std::size_t from) const {
        std::optional<std::size_t> found;
        read(from, samples(), [&](std::size_t at, int sample) {
            if (sample > level * 32768) found = at;
            return !found;
        });
        return found;
    }
    // Waits until the recording is louder than `level` somewhere from `from` on.
    std::optional<std::size_t> heardFrom(std::size_t from, double level = kLoud) const {
        std::optional<std::size_t> found;
        waitUntil([&] { return (found = firstAbove(level, from)).has_value(); });
        return found;
    }
    // Waits until the recording holds `count` samples.
    bool reaches(std::size_t count) const {
        return waitUntil([&] { return samples() >= count; });
    }

private:
    template <typename Visit> void read(std::size_t from, std::size_t to, Visit visit) const {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from * 2));
        std::int16_t s;
        for (std::size_t at = from; at < to && in.read(reinterpret_cast<char*>(&s), sizeof s); ++at)
            if (!visit(at, std::abs(static_cast<int>(s)))) return;
    }
    fs::path path_;
};

class SoundE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v pulseaudio >/dev/null && command -v parec >/dev/null") != 0)
            GTEST_SKIP() << "pulseaudio and parec are needed";
        dir_ = fs::temp_directory_path() / ("plimb-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "data");
        socket_ = (dir_ / "native").string();
        server_ = std::make_unique<Child>(
            "PULSE_RUNTIME_PATH=" + (dir_ / "run").string() +
            " PULSE_STATE_PATH=" + (dir_ / "state").string() +
            " exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr"
            " -L 'module-null-sink sink_name=plimbnull rate=22050 channels=1'"
            " -L 'module-native-protocol-unix auth-anonymous=1 socket=" +
            socket_ + "' 2>/dev/null");
        ASSERT_TRUE(waitUntil([&] { return fs::exists(socket_); }))
            << "the private sound server did not start";
    }
    void TearDown() override {
        session_.reset();
        server_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // The program joined to the test's host, and what its sound server plays recorded.
    struct Session {
        RawHost host{kPort};
        RawClient link;
        std::unique_ptr<Child> recorder;
        std::unique_ptr<Program> program;
        Recording recording;
        explicit Session(fs::path raw) : recording(std::move(raw)) {}
    };

    // Starts the recorder and the program with these settings, and logs the program in. Its
    // own arrival reads the settings and plays the arrival chime when game sounds are on.
    Session& join(const std::string& settings) {
        std::ofstream(dir_ / "data" / "vexolobby.ini") << "[Plimb]\r\n" << settings;
        const std::string pulse = "PULSE_SERVER=unix:" + socket_;
        const fs::path raw = dir_ / ("heard" + std::to_string(++sessions_) + ".raw");
        session_.reset();
        session_ = std::make_unique<Session>(raw);
        Session& s = *session_;
        EXPECT_TRUE(s.host.listening());
        s.recorder = std::make_unique<Child>(pulse +
                                             " exec parec --device=plimbnull.monitor --raw --format=s16le"
                                             " --rate=22050 --channels=1 > " +
                                             raw.string());
        EXPECT_TRUE(s.recording.reaches(1)) << "the recorder records nothing";
        s.program = std::make_unique<Program>(
            std::vector<std::string>{"Bob", "127.0.0.1", "join"}, "e2e-sound",
            std::vector<std::string>{pulse, "PLIMB_DATA_DIR=" + (dir_ / "data").string()});
        EXPECT_TRUE(s.host.accept(s.link)) << "the program never joined";
        s.link.send("CMD_sendlogininfo+2");
        EXPECT_TRUE(s.link.waitFor("CMD_logininfo+2+").has_value());
        s.link.send("CMD_newplayerinfo+2+Bob");
        return s;
    }

    // True once the program has dealt with everything sent to it so far (see the top).
    static bool handled(Session& s) {
        s.link.send("CMD_sendlogininfo+2");
        return s.link.waitFor("CMD_logininfo+2+").has_value();
    }

    fs::path dir_;
    std::string socket_;
    std::unique_ptr<Child> server_;
    std::unique_ptr<Session> session_;
    int sessions_ = 0;
};

TEST_F(SoundE2E, AChatterSoundIsHeardUnlessMuted) {
    {
        Session& s = join("Playsounds=false\r\nChatterSounds=true\r\n");
        ASSERT_TRUE(handled(s)) << "the program has read its settings";
        const std::size_t sent = s.recording.samples();
        s.link.send("CMD_playasound+1+wave13+");
        EXPECT_TRUE(s.recording.heardFrom(sent).has_value())
            << "game sounds off does not mute chatter sounds";
    }
    {
        Session& s = join("Playsounds=true\r\nChatterSounds=false\r\n");
        const auto chime = s.recording.heardFrom(0);
        ASSERT_TRUE(chime.has_value()) << "the arrival chime is heard: this program is heard at all";
        // Only once the chime has played out, so a muted sound wrongly played would not hide in it.
        const std::size_t quietFrom = *chime + kChimeSpan;
        ASSERT_TRUE(s.recording.reaches(quietFrom));
        s.link.send("CMD_playasound+1+wave13+");
        ASSERT_TRUE(handled(s));
        const std::size_t quietTo = std::max(quietFrom, s.recording.samples()) + kMutedSpan;
        ASSERT_TRUE(s.recording.reaches(quietTo));
        // Anything the program plays from now on lands after quietTo in the recording.
        s.link.send("CMD_newplayerinfo+3+Cy");
        EXPECT_TRUE(s.recording.heardFrom(quietTo).has_value()) << "the chime after the muted sound is heard";
        EXPECT_LT(s.recording.peak(quietFrom, quietTo), kSilent) << "a muted chatter sound is not heard";
    }
}

TEST_F(SoundE2E, ASoundWithoutAFileIsTheDesktopsBell) {
    // The "New" turn sound has no file of its own: the sound theme's bell stands in for it.
    Session& s = join("Playsounds=true\r\nTurnsound=1\r\n");
    const auto chime = s.recording.heardFrom(0);
    ASSERT_TRUE(chime.has_value()) << "the arrival chime is heard: this program is heard at all";
    const std::size_t quietFrom = *chime + kChimeSpan;
    ASSERT_TRUE(s.recording.reaches(quietFrom));
    // Ten minutes a turn: the clock's ticks, near the end of a turn, stay out of the recording.
    s.link.send("CMD_gamestats+600+200+5+0+0+");
    s.link.send("CMD_nextplayer+2+5+");
    EXPECT_TRUE(s.recording.heardFrom(quietFrom).has_value()) << "the turn is announced out loud";
}

} // namespace
