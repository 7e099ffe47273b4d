#include "core/download/downloadoutcome.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plimb;

TEST(DownloadOutcome, TheUserReadsTheFileErrorElseNothingAfterAStopElseTheFirstRefusal) {
    enum Kind { Refuse, Disk, Stop };
    struct Event {
        Kind kind;
        Refusal why = Refusal::None;
        const char* words = "";
    };
    const std::string lost = std::string(refusalText(Refusal::TransportError)) + " Connection refused";
    const struct {
        const char* name;
        std::vector<Event> events;
        std::string message;
    } rows[] = {
        {"nothing noted is still no success", {}, ""},
        {"error status", {{Refuse, Refusal::ErrorStatus}}, ""},
        {"cut connection", {{Refuse, Refusal::TransportError, "Connection refused"}}, lost},
        {"the first refusal wins, without the client's words",
         {{Refuse, Refusal::None}, {Refuse, Refusal::Stalled, "x"}, {Refuse, Refusal::TransportError, "x"}},
         std::string(refusalText(Refusal::Stalled))},
        {"a stop silences a refusal", {{Refuse, Refusal::Stalled}, {Stop}}, ""},
        {"the disk is told even after a stop",
         {{Refuse, Refusal::Truncated},
          {Stop},
          {Disk, Refusal::None, "Disk full"},
          {Disk, Refusal::None, "Gone"}},
         "Cannot write file \"/p/f\". Disk full"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DownloadFailure failure;
        for (const Event& e : row.events) {
            if (e.kind == Refuse) failure.refuse(e.why, e.words);
            if (e.kind == Disk) failure.fileFailed(FileStep::Write, "/p/f", e.words);
            if (e.kind == Stop) failure.stopByUser();
        }
        EXPECT_EQ(failure.any(), !row.events.empty());
        const DownloadOutcome outcome = failure.outcome();
        EXPECT_FALSE(outcome.done);
        EXPECT_EQ(outcome.message, row.message);
    }
}
