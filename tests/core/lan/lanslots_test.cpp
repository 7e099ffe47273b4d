#include "core/lan/lanslots.h"

#include <gtest/gtest.h>

using namespace plimb;
using State = LanSlots::State;
using namespace std::chrono_literals;

// Steps on a table of 2 listed, 2 resolving at once and 3 waiting: "+k" seen, "r" start what may
// start, "ok k" / "no k" resolved listable or not, "-k" forgotten, "t" 3 s later and expire.
TEST(LanSlots, AFloodNeitherGrowsTheTableNorPushesOutWhatResolved) {
    struct Row {
        std::vector<std::string> steps;
        std::string states; // of a..e: . unknown, w waiting, r resolving, l listed
    };
    const Row rows[] = {
        {{"+a", "+b", "+c", "r"}, "rrw.."},
        {{"+a", "+a", "r", "+a"}, "r...."},
        {{"+a", "+b", "+c", "+d", "+e"}, "www.."},       // the queue is full: d and e are ignored
        {{"+a", "+b", "+c", "r", "ok a", "r"}, "lrw.."}, // resolving counts among the listed
        {{"+a", "+b", "+c", "r", "ok a", "ok b", "r"}, "llw.."},
        {{"+a", "+b", "+c", "r", "no a", "r"}, ".rr.."},    // not joinable: its place is freed
        {{"+a", "+b", "+c", "r", "t", "+d", "r"}, "..rr."}, // too slow: dropped, the next start
        {{"+a", "+b", "r", "ok a", "t", "r"}, "l...."},     // a listed game never runs out
        {{"+a", "+b", "+c", "r", "-a", "-c", "r", "+d", "+e", "r"}, ".r.rw"},
        {{"+a", "+b", "r", "ok a", "ok b", "-a", "+c", "+d", "r"}, ".lrw."},
        {{"+a", "r", "ok b", "-e", "no e"}, "r...."}, // unknown keys change nothing
    };
    for (const Row& row : rows) {
        LanSlots slots({2, 2, 3, 3s});
        auto now = LanSlots::Clock::time_point{};
        for (const std::string& step : row.steps) {
            const std::string key = step.substr(step.find_first_of(" +-") + 1);
            if (step[0] == '+') slots.seen(key);
            if (step[0] == '-') slots.forget(key);
            if (step == "r") slots.startResolving(now);
            if (step == "t") slots.expire(now += 3s);
            if (step.rfind("ok ", 0) == 0 || step.rfind("no ", 0) == 0) slots.resolved(key, step[0] == 'o');
        }
        std::string states;
        for (const char* key : {"a", "b", "c", "d", "e"})
            states += ".wrl"[static_cast<int>(slots.state(key))];
        EXPECT_EQ(states, row.states) << ::testing::PrintToString(row.steps);
    }
}

TEST(LanSlots, TheTimeLimitRunsFromTheOldestResolutionUnderWay) {
    LanSlots slots({4, 4, 4, 3s});
    const auto start = LanSlots::Clock::time_point{} + 10s;
    EXPECT_FALSE(slots.nextExpiry());
    slots.seen("a");
    slots.startResolving(start);
    slots.seen("b");
    slots.startResolving(start + 1s);
    EXPECT_EQ(slots.nextExpiry(), start + 3s);
    EXPECT_EQ(slots.expire(start + 3s), std::vector<std::string>{"a"});
    EXPECT_EQ(slots.nextExpiry(), start + 4s);
    slots.resolved("b", true);
    EXPECT_FALSE(slots.nextExpiry()) << "nothing under way, nothing to wake for";
}
