// A kept game played again shows, at every moment, what the window showed then.
#include <gtest/gtest.h>

#include <map>

#include "core/client/fakesink.h"
#include "core/records/memoryfiles.h"
#include "core/records/recorder.h"
#include "core/records/replay.h"

using namespace plimb;
using namespace plimb::test;

namespace {

// Everything the board panel and the words list draw.
std::string picture(const ViewState& v) {
    std::string out;
    const auto slots = [&out](const auto& family) {
        for (std::size_t i = 1; i < family.size(); ++i)
            out += family[i].drawn ? std::to_string(family[i].code) + (family[i].raised ? "^" : "") + "," : "_,";
        out += "\n";
    };
    slots(v.myletter);
    slots(v.hisletter);
    slots(v.extra);
    for (const SeatRowView& r : v.rows)
        out += r.name + "/" + r.score + "/" + r.status + (r.turn ? "/turn" : "") + (r.eyes ? "/eyes" : "") + "\n";
    out += v.status + "|" + v.playtoscore + "|" + v.timeperturn + "|" + v.steals + "|" + v.turntime + "|" +
           std::to_string(v.timerWidth) + "|" + v.mywordsCaption + "\n";
    for (const auto& w : v.mywords)
        out += w + ",";
    out += v.winnerVisible ? "\n" + v.winnerText : "";
    return out;
}

// A game of 40 turns between Ann (seat 1) and Bo, as Bo's window or a spectator's got it.
std::vector<std::string> aGame() {
    std::vector<std::string> g = {build::startgame("Ann", "30", "200", "5"), build::gamekey("k1"),
                                  build::letters(2, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}})};
    std::array<int, 3> score{};
    for (int turn = 1; turn <= 40; ++turn) {
        const int seat = turn % 2 == 1 ? 1 : 2;
        g.push_back(build::nextplayer(seat, 5 - turn / 10));
        g.push_back(build::placemyletter(seat, 1 + turn % 6, 1 + turn % 10, 1 + turn % 26));
        g.push_back(build::newletter(seat, 1 + turn % 6, 1 + (turn * 7) % 26));
        if (turn % 4 == 0) g.push_back(build::tradingmyletter(seat, 1, 3, 2, 4));
        if (turn % 3 == 0) {
            score[seat] += turn;
            g.push_back(build::formedword(seat, turn % 2 ? "cat" : "dogs", turn, score[seat]));
        }
        if (turn % 5 == 0) g.push_back(build::chat(seat == 1 ? "Ann" : "Bo", "turn " + std::to_string(turn) + "|clBlack"));
        if (turn % 7 == 0) g.push_back(build::stoldletter(seat, 3 - seat, 1 + turn % 10, 1 + (turn + 3) % 10, 5));
        if (turn % 9 == 0) g.push_back(build::discardletter(seat, 1 + turn % 10));
    }
    g.push_back(build::winner(2));
    return g;
}

struct Played {
    std::vector<std::string> pictures; // at moment 1, 2, ...
    std::vector<std::vector<std::string>> chats;
    GameRecord record;
};

Played playLive(int seat) {
    ClientFixture live;
    MemoryFiles files;
    std::int64_t now = 1'765'396'158'123;
    GameRecorder recorder(live.model, files, [&now] { return now; }, [](const std::string&) {});
    live.sink.log = &recorder;
    live.seatAs(seat, seat == 2 ? "Bo" : "Spy");
    Played p;
    for (const std::string& notice : aGame()) {
        now += 4; // well within a second: the live window's clock does not tick in this test
        live.feed(notice);
        p.pictures.push_back(picture(live.model.view()));
        p.chats.push_back(live.sink.chatLines());
    }
    EXPECT_EQ(files.files.size(), 1u);
    RecordRead r = readRecord(files.files.begin()->second);
    EXPECT_TRUE(r.record) << r.fault;
    if (r.record) p.record = std::move(*r.record);
    return p;
}

std::vector<std::string> chatOf(const ReplayModel& replay) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < replay.chatLines(); ++i)
        out.push_back(replay.chatLine(i).line);
    return out;
}

} // namespace

TEST(Replay, EveryMomentShowsWhatTheLiveWindowShowed) {
    for (const int seat : {2, 3}) {
        SCOPED_TRACE(seat == 2 ? "the player's window" : "a spectator's window");
        const Played live = playLive(seat);
        ReplayModel replay(live.record);
        ASSERT_EQ(replay.lastMoment(), live.pictures.size());
        ASSERT_GT(replay.lastMoment(), 2 * ReplayModel::kSnapshotEvery);
        // Straight through, then back and forth across the snapshots.
        std::vector<std::size_t> order;
        for (std::size_t m = 1; m <= replay.lastMoment(); ++m)
            order.push_back(m);
        for (std::size_t m : {replay.lastMoment(), std::size_t{1}, std::size_t{64}, std::size_t{63}, std::size_t{65},
                              std::size_t{130}, std::size_t{2}, std::size_t{128}, std::size_t{129}, std::size_t{127}})
            order.push_back(m);
        for (const std::size_t m : order) {
            replay.seek(m);
            ASSERT_EQ(replay.position(), m);
            ASSERT_EQ(picture(replay.view()), live.pictures[m - 1]) << "moment " << m;
            ASSERT_EQ(chatOf(replay), live.chats[m - 1]) << "moment " << m;
        }
    }
}

TEST(Replay, StepsGoFromTurnToTurnAndForwardStepsTellTheMoves) {
    const Played live = playLive(2);
    ReplayModel replay(live.record);
    EXPECT_EQ(replay.position(), 1u);
    EXPECT_EQ(replay.turns(), 40);
    EXPECT_EQ(replay.momentText(), "Turn 0 of 40, 0:00 of 0:00");
    EXPECT_EQ(replay.msToNext(), 4);
    replay.stepForward();
    EXPECT_EQ(replay.turnAt(replay.position()), 1);
    EXPECT_TRUE(replay.view().rowFor(1).turn);
    EXPECT_TRUE(replay.takeFeedback().farMoves.empty()); // the start and the hand are no move
    replay.stepForward();
    EXPECT_TRUE(replay.view().rowFor(2).turn);
    // Ann's first turn put a letter on Bo's far board, and the step tells it.
    EXPECT_EQ(replay.takeFeedback().farMoves, (std::vector<BoardMove>{{BoardMoveKind::Put, 0, 2, 2}}));
    const std::size_t second = replay.position();
    replay.seek(second + 1);
    replay.stepBack();
    EXPECT_EQ(replay.position(), second);
    replay.stepBack();
    EXPECT_EQ(replay.turnAt(replay.position()), 1);
    EXPECT_TRUE(replay.takeFeedback().empty()); // a step back is shown, not played
    replay.seek(1'000'000);
    EXPECT_TRUE(replay.atEnd());
    EXPECT_TRUE(replay.view().winnerVisible);
    replay.stepForward();
    EXPECT_TRUE(replay.atEnd());
    EXPECT_EQ(replay.msToNext(), 0);
}

// The clock at the last moment of a turn begun at 10 ms: it ticks on the record's own times, from
// the start of the turn, and a long pause past zero (or past an hour) costs the replay nothing.
TEST(Replay, TheTurnClockRunsOnTheRecordsTime) {
    struct Row {
        const char* timePerTurn;
        std::int64_t lastMs; // of a chat line after the turn began; 0 for none
        std::string shown;
    };
    for (const Row& row : std::vector<Row>{{"30", 0, "Time: 0:00"},
                                           {"30", 5'010, "Time: 0:25"},
                                           {"30", 29'510, "Time: 0:01"},
                                           {"30", kMaxRecordMs, "Time: 0:00"},
                                           // an hour counted: 999,996,400 seconds left
                                           {"1000000000", kMaxRecordMs, "Time: 16666606:40"}}) {
        GameRecord record;
        record.header = {0, {"Ann", "Bo"}, 200, 30, 5, 2, "Bo"};
        record.notices = {{0, build::startgame("Ann", row.timePerTurn, "200", "5")}, {10, build::nextplayer(1, 5)}};
        if (row.lastMs != 0) record.notices.push_back({row.lastMs, build::chat("Ann", "hm|clBlack")});
        ReplayModel replay(record);
        replay.seek(replay.lastMoment());
        EXPECT_EQ(replay.view().turntime, row.shown) << row.lastMs;
    }
}

TEST(Replay, ARecordWithoutNoticesShowsTheTable) {
    GameRecord record;
    record.header = {0, {"Ann", "Bo"}, 200, 30, 5, 1, "Ann"};
    ReplayModel replay(record);
    EXPECT_EQ(replay.lastMoment(), 0u);
    replay.stepForward();
    replay.stepBack();
    EXPECT_EQ(replay.view().rowFor(2).name, "Bo");
    EXPECT_EQ(replay.chatLines(), 0u);
}
