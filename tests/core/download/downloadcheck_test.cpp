#include "core/download/downloadcheck.h"

#include <gtest/gtest.h>
#include <vector>

using namespace plimb;

// The download window's test runs the common replies end to end; these are the edges it cannot
// easily stage.
TEST(DownloadCheck, OnlyAComplete200OrARedirectWithinTheLobbyServerGoesOn) {
    const Origin lobby{"http", "lobby.example.org", -1};
    const struct {
        int status;
        std::optional<std::int64_t> length;
        std::optional<Origin> location;
        std::vector<std::int64_t> chunks;
        bool transportFailed;
        Refusal expect;
        bool follow;
    } rows[] = {
        {200, 10, {}, {4, 6}, false, Refusal::None, false},
        {200, 10, {}, {4, 6}, true, Refusal::TransportError, false},
        {200, 10, {}, {4, 7}, false, Refusal::Overlong, false},
        {200, -1, {}, {}, false, Refusal::NoLength, false},
        {204, 0, {}, {}, false, Refusal::UnexpectedStatus, false},
        {399, 0, lobby, {}, false, Refusal::UnexpectedStatus, false},
        {400, 0, {}, {}, false, Refusal::ErrorStatus, false},
        {302, 0, {}, {}, false, Refusal::UnexpectedStatus, false},
        {307, 0, Origin{"HTTP", "Lobby.Example.org", 80}, {}, false, Refusal::None, true},
        {308, 0, Origin{"https", "lobby.example.org", -1}, {}, false, Refusal::ForeignRedirect, false},
        {301, 0, Origin{"http", "lobby.example.org", 8099}, {}, false, Refusal::ForeignRedirect, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.status);
        TransferCheck check(lobby, 100);
        const TransferCheck::Head head = check.head(row.status, row.length, row.location);
        EXPECT_EQ(head.follow, row.follow);
        Refusal got = head.refusal;
        for (std::size_t i = 0; got == Refusal::None && i < row.chunks.size(); ++i)
            got = check.data(row.chunks[i]);
        EXPECT_EQ(got == Refusal::None && !head.follow ? check.end(row.transportFailed) : got, row.expect);
    }
    EXPECT_EQ(TransferCheck(lobby, 100).end(true), Refusal::TransportError); // no reply at all
    TransferCheck loop(lobby, 100);
    for (int i = 0; i < TransferCheck::kMaxRedirects; ++i)
        EXPECT_TRUE(loop.head(302, 0, lobby).follow);
    EXPECT_EQ(loop.head(302, 0, lobby).refusal, Refusal::TooManyRedirects);
}

TEST(DownloadCheck, TheChecksumFileIsReadAsSha256sumWritesIt) {
    const std::string hex = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
    const std::pair<std::string, bool> rows[] = {
        {hex + " *vxlsetup.exe", true}, {"\n " + hex + "\r\n", true},
        {hex.substr(1), false},         {hex + "0", false},
        {hex + "-vxlsetup.exe", false},
    };
    for (const auto& [file, valid] : rows)
        EXPECT_EQ(parseDigestFile(file), valid ? std::optional(hex) : std::nullopt) << file;
}
