#include "core/lan/langame.h"

#include <gtest/gtest.h>

using namespace plimb;

TEST(LanTxt, WhatTheHostBuildsIsReadBackAndHostileRecordsLeaveOnlyWhatCanBeRead) {
    struct Row {
        std::vector<std::string> entries;
        std::string version;
        std::optional<int> seats;
        std::optional<bool> running;
    };
    const Row rows[] = {
        {buildLanTxt("1.0.5", 2, false), "1.0.5", 2, false},
        {buildLanTxt("1.0.5", 9, true), "1.0.5", 9, true}, // a full table
        {{"seats=1"}, "", 1, {}},
        {{"seats=0"}, "", {}, {}},  // the host holds a seat
        {{"seats=10"}, "", {}, {}}, // more than the table serves
        {{"seats=" + std::string(300, '9')}, "", {}, {}},
        {{"seats=-2", "game=RUNNING"}, "", {}, true},
        {{"seats= 2", "game=over"}, "", {}, {}},
        {{"seats=", "game="}, "", {}, {}},
        {{"seats", "seats=3"}, "", {}, {}},                     // the first entry of a key counts
        {{"SEATS=4", "seats=3", "Game=waiting"}, "", 4, false}, // keys in any case
        {{"=5", "version"}, "", {}, {}},
        {{"version=1.0\x96.5"}, "1.0\xE2\x80\x93.5", {}, {}}, // not UTF-8: read as Windows-1252
        {{"version=" + std::string(200, 'v')}, std::string(32, 'v'), {}, {}},
        {{std::string("seats=3\0", 8)}, "", {}, {}},
    };
    for (const Row& row : rows) {
        const LanTxt txt = parseLanTxt(row.entries);
        const std::string at = row.entries.empty() ? "(none)" : row.entries[0];
        EXPECT_EQ(txt.version, row.version) << at;
        EXPECT_EQ(txt.seatsTaken, row.seats) << at;
        EXPECT_EQ(txt.running, row.running) << at;
    }
}

TEST(LanInstanceName, IsTheNameTrimmedSafeAndCutWithinOneLabel) {
    EXPECT_EQ(lanInstanceName("  Ann Lee+1 "), "Ann Lee+1");
    EXPECT_EQ(lanInstanceName("   "), "Plimb");
    EXPECT_EQ(lanInstanceName(std::string(62, 'a') + "\xC3\xBC"),
              std::string(62, 'a')); // never half a letter
    EXPECT_EQ(lanInstanceName(std::string(61, 'a') + "\xC3\xBC"), std::string(61, 'a') + "\xC3\xBC");
    EXPECT_EQ(lanInstanceName(std::string(62, 'a') + " b"), std::string(62, 'a'));
}

TEST(LanGames, TheResolvedAnnouncementBecomesASafeRowOnTheAddressEveryoneCanUse) {
    const LanGame game = lanGame(
        "k",
        {"Ann\x1b[2J", "Kitchen-PC.LOCAL.", "10.0.0.7", 7772, {"version=1.0.5", "seats=3", "game=running"}});
    EXPECT_EQ(game.hostPlayer, "Ann [2J");
    EXPECT_EQ(game.computer, "Kitchen-PC");
    EXPECT_EQ(lanRow(game).players, "2 of 2, 1 watching") << "the two playing seats fill first";
    EXPECT_EQ(lanRow(game).game, "running");

    LanGame older = game;
    older.version = "1.0.4";
    older.running = false;
    EXPECT_EQ(lanRow(older).game, "waiting for players, version 1.0.4");
    older.running.reset();
    older.seatsTaken.reset();
    EXPECT_EQ(lanRow(older).game, "version 1.0.4");
    EXPECT_EQ(lanRow(older).players, "");

    LanGame v6 = game, linkLocal = game, otherPort = game;
    v6.address = "2001:db8::7";
    linkLocal.address = "fe80::1%eth0";
    otherPort.port = 7773;
    EXPECT_EQ(preferredLanGame({v6, game})->address, "10.0.0.7");
    EXPECT_EQ(preferredLanGame({linkLocal, v6})->address, "2001:db8::7");
    EXPECT_FALSE(preferredLanGame({linkLocal}).has_value()) << "no address the dialog could join";
    EXPECT_FALSE(preferredLanGame({otherPort}).has_value());
}
