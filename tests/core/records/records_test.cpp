// The record file: what a window writes as a game goes, what reads back, and what the folder keeps.
#include <gtest/gtest.h>

#include <map>

#include "core/client/fakesink.h"
#include "core/records/gamerecord.h"
#include "core/records/recorder.h"
#include "core/records/memoryfiles.h"

using namespace plimb;
using namespace plimb::test;

namespace {

// A window whose every handled notice goes to its recorder, on a clock the test moves.
struct RecordingWindow : ClientFixture {
    MemoryFiles files;
    std::int64_t now = 1'765'396'158'123; // 2025-12-10 19:49:18.123 UTC
    std::vector<std::string> told;
    GameRecorder recorder{model, files, [this] { return now; }, [this](const std::string& s) { told.push_back(s); }};

    RecordingWindow() { sink.log = &recorder; }
    std::string only() const {
        EXPECT_EQ(files.files.size(), 1u);
        return files.files.empty() ? "" : files.files.begin()->second;
    }
};

} // namespace

TEST(RecordFile, ReadsBackWhatWasWrittenAndNothingElse) {
    RecordHeader h;
    h.startedMs = 1'765'396'158'123;
    h.players = {"Ann", "Bo\nBack\\slash"};
    h.playTo = 200;
    h.timePerTurn = 30;
    h.steals = kUnlimitedSteals;
    h.ownSeat = 2;
    h.ownName = "Bo\nBack\\slash";
    const std::string head = formatHeader(h);
    const std::string chat = "CMD_chat+Ann chats: two\nlines \\n and \r|clBlack";
    const std::string body = formatNotice(0, "CMD_startgame+Ann+30+200+10000+") + formatNotice(1500, chat);

    struct Row {
        const char* what;
        std::string text;
        std::size_t notices; // when it reads
        std::string fault;   // when it does not
    };
    const std::vector<Row> rows = {
        {"whole", head + body, 2, ""},
        {"a last line cut in half", head + body + "2100\tCMD_formedwo", 2, ""},
        {"only the header", head, 0, ""},
        {"written on another system", [&] {
             std::string crlf;
             for (char c : head + body)
                 crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
             return crlf;
         }(), 2, ""},
        {"a header field of a later version", head + "# Board theme: dark\n" + body, 2, ""},
        {"a foreign text", "Shopping list\nmilk\n", 0, "not a game record"},
        {"the first line cut", std::string(kRecordFirstLine.substr(0, 10)), 0, "not a game record"},
        {"a line that is no notice", head + body + "garbage\n" + formatNotice(3000, "CMD_timeup+"), 0,
         "damaged: line 12 is not a notice"},
        {"a time past a year", head + std::to_string(kMaxRecordMs + 1) + "\tCMD_timeup+\n", 0,
         "damaged: line 10 is not a notice"},
        {"a time of a year", head + std::to_string(kMaxRecordMs) + "\tCMD_timeup+\n", 1, ""},
        {"a seat out of range", head.substr(0, head.find("# Own seat")) + "# Own seat: 10\n" + body, 0,
         "damaged: its header does not name the start, both seats and its own seat"},
        {"an unreadable start", "# Plimb game record 1\n# Started: yesterday\n" + body, 0,
         "damaged: its start time is unreadable"},
        {"a target that is no number", head.substr(0, head.find("# Play")) + "# Play to score: lots\n", 0,
         "damaged: its Play to score is not a number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const RecordRead r = readRecord(row.text);
        EXPECT_EQ(r.fault, row.fault);
        ASSERT_EQ(r.record.has_value(), row.fault.empty());
        if (!r.record) continue;
        EXPECT_EQ(r.record->header, h);
        ASSERT_EQ(r.record->notices.size(), row.notices);
        if (row.notices == 2) {
            EXPECT_EQ(r.record->notices[1], (RecordedNotice{1500, chat}));
        }
    }
}

TEST(RecordFile, NamesSortAsTheGamesStarted) {
    EXPECT_EQ(recordFileName(1'765'396'158'123), "20251210-194918-123.txt");
    EXPECT_EQ(recordFileName(0), "19700101-000000-000.txt");
    EXPECT_LT(recordFileName(1'765'396'158'999), recordFileName(1'765'396'159'000));
    EXPECT_EQ(parseStarted(formatStarted(1'765'396'158'123)), 1'765'396'158'123);
    for (const char* name : {"20251210-194918-123.txt", "19700101-000000-000.txt"})
        EXPECT_TRUE(isRecordFileName(name)) << name;
    for (const char* name : {"20251210-194918-123.txt~", "2025121-194918-123.txt", "notes.txt",
                             "20251210-194918-12x.txt", "20251210_194918-123.txt", ""})
        EXPECT_FALSE(isRecordFileName(name)) << name;
}

TEST(RecordFile, TheFolderKeepsTheNewestWithinBothCaps) {
    const auto files = [](std::size_t n, std::uint64_t bytes) {
        std::vector<KeptFile> out;
        for (std::size_t i = n; i-- > 0;) // newest first, as a directory need not sort them
            out.push_back({recordFileName(static_cast<std::int64_t>(i) * 1000), bytes});
        return out;
    };
    const std::uint64_t mb = 1024 * 1024;
    struct Row {
        const char* what;
        std::vector<KeptFile> kept;
        std::size_t adding;
        std::size_t removed;
    };
    const std::vector<Row> rows = {
        {"room for one more", files(999, 1000), 1, 0},
        {"a full folder and a new game", files(1000, 1000), 1, 1},
        {"a full folder as a game ends", files(1000, 1000), 0, 0},
        {"more than the cap", files(1005, 1000), 1, 6},
        {"exactly 100 MB", files(100, mb), 0, 0},
        {"one byte over 100 MB", [&] {
             auto f = files(100, mb);
             f.back().bytes += 1;
             return f;
         }(), 0, 1},
        {"a few huge games", files(4, 40 * mb), 0, 2},
        {"an empty folder", {}, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto removed = recordsOverCaps(row.kept, row.adding);
        ASSERT_EQ(removed.size(), row.removed);
        // The oldest go: the first names of the sorted list.
        for (std::size_t i = 0; i < removed.size(); ++i)
            EXPECT_EQ(removed[i], recordFileName(static_cast<std::int64_t>(i) * 1000));
    }
}

// What a window keeps of the games it sees. A row's steps are notices, or what happens to the
// window meanwhile: "cut" (the connection ends), "off" and "on" (the Options item), "fail" (the
// folder cannot be written), "full" (1,000 records and a note of the user's are there).
TEST(GameRecorder, KeepsEachGameSeenFromItsStartUntilItEnds) {
    const std::string start = build::startgame("Ann", "30", "200", "5");
    const std::string word = build::formedword(1, "cat", 5, 5);
    const std::string won = build::winner(1);
    const std::string chat = build::chat("Ann", "hi|clBlack");
    struct Row {
        const char* what;
        std::vector<std::string> steps;
        std::vector<std::string> records; // the notices of each record, oldest game first
        std::size_t toldLines = 0;
    };
    const std::vector<Row> rows = {
        {"a game to its winner, what comes before and after left out", {chat, start, word, won, chat},
         {start + "|" + word + "|" + won}},
        {"a cut connection keeps what came", {start, word, "cut", won}, {start + "|" + word}},
        {"a new game closes the one before", {start, word, start, won}, {start + "|" + word, start + "|" + won}},
        {"a latecomer keeps none", {build::gamestats(30, 200, 5, 0, 0), word, won}, {}},
        {"switched off, nothing is kept", {"off", start, word, won}, {}},
        {"switched off during a game, the record stops there", {start, word, "off", "on", won}, {start + "|" + word}},
        {"a folder that cannot be written is said once per game", {"fail", start, word, won}, {}, 1},
        {"a full folder makes room, the oldest record going", {"full", start}, {start}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecordingWindow w;
        w.seatAs(2, "Bo");
        for (const std::string& step : row.steps) {
            w.now += 250;
            if (step == "cut") w.recorder.close();
            else if (step == "off" || step == "on") w.recorder.setEnabled(step == "on");
            else if (step == "fail") w.files.failWrites = true;
            else if (step == "full") {
                for (std::size_t i = 0; i < kMaxKeptRecords; ++i)
                    w.files.files[recordFileName(static_cast<std::int64_t>(i))] = "old";
                w.files.files["notes.txt"] = "mine";
            } else w.feed(step);
        }
        std::vector<std::string> kept;
        for (const auto& [name, text] : w.files.files) {
            if (text == "old" || text == "mine") continue;
            const RecordRead r = readRecord(text);
            ASSERT_TRUE(r.record) << r.fault;
            EXPECT_EQ(r.record->header.players, (std::array<std::string, 2>{"Ann", "Bo"}));
            EXPECT_EQ(r.record->header.ownSeat, 2);
            std::string notices;
            for (const auto& n : r.record->notices)
                notices += (notices.empty() ? "" : "|") + n.text;
            kept.push_back(notices);
        }
        EXPECT_EQ(kept, row.records);
        EXPECT_EQ(w.told.size(), row.toldLines);
        if (row.steps.front() == "full") {
            EXPECT_EQ(w.files.kept().size(), kMaxKeptRecords);
            EXPECT_FALSE(w.files.files.count(recordFileName(0)));
            EXPECT_EQ(w.files.files["notes.txt"], "mine");
        }
    }
}

TEST(GameRecorder, TimesCountFromTheStartAndNamesNeverClash) {
    RecordingWindow w;
    w.seatAs(1, "Ann");
    // A file of the start's millisecond is there already (the clock was set back).
    w.files.files[recordFileName(w.now)] = "someone else's";
    w.feed(build::startgame("Ann", "30", "200", "5"));
    w.now += 1234;
    w.feed(build::chat("Bo", "hi|clBlack"));
    w.now -= 5000; // set back during the game
    w.feed(build::formedword(1, "cat", 5, 5));
    EXPECT_EQ(w.files.files[recordFileName(w.now + 5000 - 1234)], "someone else's");
    const RecordRead r = readRecord(w.files.files[recordFileName(w.now + 5000 - 1234 + 1)]);
    ASSERT_TRUE(r.record) << r.fault;
    ASSERT_EQ(r.record->notices.size(), 3u);
    EXPECT_EQ(r.record->notices[0].ms, 0);
    EXPECT_EQ(r.record->notices[1].ms, 1234);
    EXPECT_EQ(r.record->notices[2].ms, 1234);
}

TEST(GameRecorder, ARecordStopsGrowingAtItsCapAndSaysSoOnce) {
    RecordingWindow w;
    w.seatAs(1, "Ann");
    w.feed(build::startgame("Ann", "30", "200", "5"));
    const std::string line = build::chat("Bo", std::string(64 * 1024, 'x') + "|clBlack");
    const std::size_t fit = (kMaxRecordBytes - w.only().size()) / formatNotice(0, line).size();
    for (std::size_t i = 0; i < fit + 5; ++i)
        w.feed(line);
    w.feed(build::winner(1));
    EXPECT_EQ(w.told, std::vector<std::string>{"This game's record is full; the rest of the game is not kept."});
    EXPECT_LE(w.only().size(), kMaxRecordBytes);
    const RecordRead r = readRecord(w.only());
    ASSERT_TRUE(r.record) << r.fault;
    EXPECT_EQ(r.record->notices.size(), 1 + fit);
    EXPECT_TRUE(w.recorder.current().empty()); // the winner still closes it
}
