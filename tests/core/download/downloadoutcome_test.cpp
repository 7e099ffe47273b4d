#include "core/download/downloadoutcome.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace plimb;

TEST(DownloadOutcome, FileErrorsNameTheStepThePathAndTheSystemsReason) {
    EXPECT_EQ(fileErrorText(FileStep::Create, "/opt/p/vxlsetup.exe", "Permission denied"),
              "Cannot create file \"/opt/p/vxlsetup.exe\". Permission denied");
    EXPECT_EQ(fileErrorText(FileStep::Write, "/opt/p/vxlsetup.exe", "No space left on device"),
              "Cannot write file \"/opt/p/vxlsetup.exe\". No space left on device");
}

TEST(DownloadOutcome, TheUserReadsTheFileErrorElseNothingAfterAStopElseTheFirstRefusal) {
    const std::string lost = std::string(refusalText(Refusal::TransportError)) + " Connection refused";
    const std::string stalled(refusalText(Refusal::Stalled));
    const std::string full = "Cannot write file \"f\". Disk full";
    const struct {
        const char* name;
        std::function<void(DownloadFailure&)> events;
        std::string message;
    } rows[] = {
        {"nothing noted is still no success", [](DownloadFailure&) {}, ""},
        {"error status", [](DownloadFailure& f) { f.refuse(Refusal::ErrorStatus); }, ""},
        {"cut connection",
         [](DownloadFailure& f) { f.refuse(Refusal::TransportError, "Connection refused"); }, lost},
        {"client words only for a failed connection",
         [](DownloadFailure& f) { f.refuse(Refusal::Stalled, "Operation canceled"); }, stalled},
        {"the first refusal wins",
         [](DownloadFailure& f) {
             f.refuse(Refusal::None);
             f.refuse(Refusal::Stalled);
             f.refuse(Refusal::TransportError, "Operation canceled");
         },
         stalled},
        {"a stop silences a refusal",
         [](DownloadFailure& f) {
             f.refuse(Refusal::Stalled);
             f.stopByUser();
         },
         ""},
        {"the disk is told even after a stop",
         [](DownloadFailure& f) {
             f.refuse(Refusal::Truncated);
             f.stopByUser();
             f.fileFailed(FileStep::Write, "f", "Disk full");
             f.fileFailed(FileStep::Create, "g", "Gone");
         },
         full},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DownloadFailure failure;
        row.events(failure);
        const DownloadOutcome outcome = failure.outcome();
        EXPECT_FALSE(outcome.done);
        EXPECT_EQ(outcome.message, row.message);
    }
    DownloadFailure untouched;
    EXPECT_FALSE(untouched.any());
    untouched.stopByUser();
    EXPECT_TRUE(untouched.any());
}
