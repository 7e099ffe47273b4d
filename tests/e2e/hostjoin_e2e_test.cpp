// Hosting and joining from the window, as a player who starts Plimb from the desktop's menu:
// two windows started without parameters (each hosting its solo game, or trying to), the first
// hosts through File, "Host a Game...", the second joins through "Join a Game...". What the
// program's relaunch does after the dialog (let go of the port, close, start anew with the
// dialog's command line) the test does the same way, starting the real program; a spectator
// then finds both players seated in one game.
#include "support/qtapp.h"
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/random.h"
#include "support/patience.h"
#include "support/program.h"
#include "support/rawclient.h"
#include "ui/app/hostjoindialog.h"
#include "ui/app/tchat.h"
#include "ui/server/tserver.h"

namespace plimb {
namespace {

using test::pump;
using test::pumpUntil;

std::vector<std::string> toStd(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

// Opens the dialog from the window's File menu, types into it and presses its Host or Join.
void useDialog(Tchat& window, const char* item, const QString& name, const QString* host) {
    auto* action = window.findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
    HostJoinDialog* dialog = nullptr;
    ASSERT_TRUE(
        pumpUntil([&] { return (dialog = window.findChild<HostJoinDialog*>()) && dialog->isVisible(); }));
    dialog->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(name);
    if (host) dialog->findChild<QLineEdit*>(QStringLiteral("edit_host"))->setText(*host);
    auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

class HostJoinE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plimb::test::ensureApplication(); }
    void SetUp() override { qputenv("PLIMB_DATA_DIR", data.path().toUtf8()); }
    void TearDown() override { qunsetenv("PLIMB_DATA_DIR"); }

    QTemporaryDir data;
    Random random;
    const TDictn spell{builtinWordRecords()};
};

TEST_F(HostJoinE2E, ACopyHostsFromTheWindowAndAnotherJoinsFromIt) {
    // The first copy: a solo game on port 7772, then File, "Host a Game...".
    auto server = std::make_unique<TServer>(random, spell, builtinComputerWords());
    Tchat first(random);
    first.setServer(server.get());
    QStringList hostArgs;
    first.setRelaunch([&](const QStringList& args) {
        hostArgs = args;
        first.setServer(nullptr);
        server.reset();
        first.close();
    });
    first.show();
    ASSERT_TRUE(pumpUntil([&] { return first.model().me().loggedIn; }));
    useDialog(first, "HostGame1", QStringLiteral("Ann Lee"), nullptr);
    ASSERT_TRUE(pumpUntil([&] { return !hostArgs.isEmpty(); }));
    EXPECT_EQ(hostArgs, (QStringList{"Ann Lee", "127.0.0.1", "true"}));
    EXPECT_FALSE(first.isVisible());
    test::Program host(toStd(hostArgs), "71");
    ASSERT_TRUE(host.started());
    ASSERT_TRUE(test::waitForListener(kGamePort));

    // The second copy has no server of its own to start (the port is the host's now).
    Tchat second(random);
    QStringList joinArgs;
    second.setRelaunch([&](const QStringList& args) {
        joinArgs = args;
        second.close();
    });
    second.show();
    const QString address = QStringLiteral("127.0.0.1");
    useDialog(second, "JoinGame1", QStringLiteral("Bob"), &address);
    ASSERT_TRUE(pumpUntil([&] { return !joinArgs.isEmpty(); }));
    EXPECT_EQ(joinArgs, (QStringList{"Bob", "127.0.0.1", "join"}));
    EXPECT_FALSE(second.isVisible());
    test::Program joiner(toStd(joinArgs), "72");
    ASSERT_TRUE(joiner.started());

    // Both copies connected; a spectator then sees them seated in one game.
    ASSERT_TRUE(pumpUntil([] { return test::connectionsTo(kGamePort) >= 2; }));
    test::RawClient spy;
    ASSERT_TRUE(spy.connectTo(kGamePort));
    ASSERT_EQ(spy.next(), "CMD_sendlogininfo+3");
    spy.send(build::logininfoRequest(3, kVersion, "Spy"));
    bool annSeated = false, bobSeated = false;
    for (int i = 0; i < 50 && !(annSeated && bobSeated); ++i) {
        const auto m = spy.next();
        if (!m) break;
        annSeated = annSeated || *m == build::existingplayers(1, "Ann Lee") ||
                    *m == build::newplayerinfo(1, "Ann Lee");
        bobSeated =
            bobSeated || *m == build::existingplayers(2, "Bob") || *m == build::newplayerinfo(2, "Bob");
    }
    EXPECT_TRUE(annSeated);
    EXPECT_TRUE(bobSeated);
    EXPECT_TRUE(host.running());
    EXPECT_TRUE(joiner.running());
}

} // namespace
} // namespace plimb
