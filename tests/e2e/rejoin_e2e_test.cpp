// A joined player whose connection is cut in the middle of a game: its window says so, gets back
// in by itself and finds its seat as it left it; a player the host removes is told and stays out.
// The host and the joiner are real windows in this process; raw clients watch as spectators.
#include "support/qtapp.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/random.h"
#include "support/patience.h"
#include "support/program.h"
#include "support/rawclient.h"
#include "ui/app/connectionbanner.h"
#include "ui/app/tchat.h"
#include "ui/server/tserver.h"

namespace plimb {
namespace {

using test::pump;
using test::pumpUntil;

// Logs a spectator in; returns what the server showed it of the running game.
std::string spectate(test::RawClient& c, int seat) {
    EXPECT_TRUE(c.connectTo(kGamePort));
    EXPECT_EQ(c.next(), build::sendlogininfo(seat));
    c.sendRaw(build::logininfoRequest(seat, kVersion, std::string("Spy\xff")) + "\xff");
    std::string replay;
    for (const char* name : {"CMD_placetheletters", "CMD_gamestats"})
        replay += c.waitFor(name).value_or("(none)") + "\n";
    return replay;
}

// The seats, scores and tiles a player's window shows.
std::string shown(const ViewState& v) {
    std::string s;
    for (const auto& row : v.rows)
        s += row.name + " " + row.score + " | ";
    const auto code = [](const SlotView& slot) { return std::to_string(slot.drawn ? slot.code : 0) + " "; };
    for (int n = 1; n <= 10; ++n)
        s += code(v.myletter[n]) + code(v.hisletter[n]);
    for (int n = 1; n <= 6; ++n)
        s += code(v.extra[n]);
    return s;
}

QString bannerText(Tchat& window) {
    return window.connectionBanner()->findChild<QLabel*>(QStringLiteral("label_connection"))->text();
}

class RejoinE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override { qputenv("PLIMB_DATA_DIR", data.path().toUtf8()); }
    void TearDown() override { qunsetenv("PLIMB_DATA_DIR"); }

    QTemporaryDir data;
    Random random;
    const TDictn spell{builtinWordRecords()};
};

TEST_F(RejoinE2E, ACutPlayerGetsItsSeatBackAndARemovedOneIsTold) {
    if (::geteuid() != 0) GTEST_SKIP() << "cutting a connection (ss -K) needs root";
    TServer server(random, spell, builtinComputerWords());
    Tchat host(random);
    host.setServer(&server);
    host.show();
    ASSERT_TRUE(pumpUntil([&] { return host.model().me().loggedIn && host.model().me().seat == 1; }));

    const auto hostOnly = test::localPortsTo(kGamePort);
    Random joinerRandom;
    Tchat joiner(joinerRandom);
    joiner.setParams({QStringLiteral("Bo"), QStringLiteral("127.0.0.1"), QStringLiteral("join")});
    joiner.show();
    ClientModel& bo = joiner.model();
    ASSERT_TRUE(pumpUntil([&] { return bo.me().loggedIn && bo.me().seat == 2; }));
    unsigned boPort = 0;
    for (unsigned port : test::localPortsTo(kGamePort))
        if (!hostOnly.count(port)) boPort = port;
    ASSERT_NE(boPort, 0u);

    // Bo plays the first move, so the host holds the turn (ten minutes of it) while Bo is away.
    host.model().sendStartGame("600", "200", "5", false);
    ASSERT_TRUE(pumpUntil([&] { return bo.currentPlayer() == 2 && bo.view().extra[1].drawn; }));
    bo.input().apply({MoveIntentKind::Place, 1, 1});
    ASSERT_TRUE(pumpUntil([&] { return bo.currentPlayer() == 1 && bo.queue().empty(); }));
    const std::string before = shown(bo.view());
    const QSize windowBefore = joiner.size();
    test::RawClient early(pump), late(pump);
    const std::string replayBefore = spectate(early, 3);

    // Bo's own end of the connection is destroyed: the host sees a reset, Bo an abort.
    const std::string cut = "ss -K -t sport = :" + std::to_string(boPort) + " >/dev/null";
    ASSERT_EQ(std::system(cut.c_str()), 0);
    ASSERT_TRUE(pumpUntil([&] { return joiner.connectionBanner()->isVisible(); }));
    EXPECT_EQ(bannerText(joiner), QStringLiteral("The connection to 127.0.0.1 was lost."));
    EXPECT_EQ(joiner.size(), windowBefore) << "the banner lies over the board";
    ASSERT_TRUE(pumpUntil([&] { return !joiner.connectionBanner()->isVisible(); })) << "rejoined by itself";
    EXPECT_EQ(joiner.size(), windowBefore);
    // The replay ends with the scores; by then the hand and both boards are back as they were.
    EXPECT_TRUE(pumpUntil([&] { return bo.me().seat == 2 && shown(bo.view()) == before; }))
        << shown(bo.view()) << "\n"
        << before;
    EXPECT_EQ(spectate(late, 4), replayBefore);
    EXPECT_TRUE(early.waitFor(build::newplayerinfo(2, "Bo")).has_value());

    host.model().spectators().kicking(2);
    ASSERT_TRUE(pumpUntil([&] { return joiner.connectionBanner()->isVisible(); }));
    EXPECT_EQ(bannerText(joiner), QStringLiteral("You were removed from the game."));
    EXPECT_FALSE(
        joiner.connectionBanner()->findChild<QPushButton*>(QStringLiteral("button_rejoin"))->isVisible());
    EXPECT_TRUE(early.waitFor(build::playerdisconnected(2, "Bo")).has_value());
    EXPECT_TRUE(host.isVisible()) << "the host's window goes on";
}

} // namespace
} // namespace plimb
