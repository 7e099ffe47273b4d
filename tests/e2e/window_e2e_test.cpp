// The real main window and server in this process, offscreen, hosting a solo game: the game is
// started and played with simulated clicks, while raw TCP clients in seat 2 (letting the
// computer move for it) and seat 3 (a spectator) watch the same boards.
#include <gtest/gtest.h>

#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/records/gamerecord.h"
#include "core/records/replay.h"
#include "core/net/protocol.h"
#include "core/net/socketerror.h"
#include "core/rules/random.h"
#include "support/patience.h"
#include "support/qtapp.h"
#include "support/rawclient.h"
#include "ui/app/connectionbanner.h"
#include "ui/app/tchat.h"
#include "ui/board/gamepanel.h"
#include "ui/board/tgamestart.h"
#include "ui/chat/chatwidget.h"
#include "ui/server/tserver.h"
#include "ui/windows/tdownload.h"

using plimb::test::RawClient;

namespace {

using plimb::test::pump;
using plimb::test::pumpUntil;

void login(RawClient& c, int seat, const std::string& name) {
    ASSERT_TRUE(c.connectTo(plimb::kGamePort));
    ASSERT_EQ(c.next(), "CMD_sendlogininfo+" + std::to_string(seat));
    c.sendRaw(plimb::build::logininfoRequest(seat, plimb::kVersion, name + "\xff") + "\xff");
    ASSERT_TRUE(c.waitFor("CMD_newplayerinfo+" + std::to_string(seat)).has_value());
}

// The real main window hosting a solo game with its in-process server, shown.
struct SoloHost {
    plimb::Random random;
    plimb::Tchat window{random};
    const plimb::TDictn spell{plimb::builtinWordRecords()};
    plimb::TServer server{random, spell, plimb::builtinComputerWords()};
    SoloHost() {
        window.setServer(&server);
        window.show();
    }
};

TEST(WindowE2E, ASoloGamePlayedWithTheMouseIsSeenBySpectators) {

    SoloHost host;
    auto& window = host.window;
    auto& server = host.server;
    auto& model = window.model();
    ASSERT_TRUE(pumpUntil([&] { return model.me().loggedIn && model.me().seat == 1; }));
    EXPECT_FALSE(window.downloadWindow()->isVisible()) << "no lobby server named: the game alone";

    RawClient bob(pump), spy(pump);
    login(bob, 2, "Bob");
    login(spy, 3, "Spy");
    ASSERT_TRUE(pumpUntil([&] { return model.view().rowFor(2).name == "Bob"; }));
    // The spy list is made when the View menu first opens it.
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == QStringLiteral("Spy List")) action->trigger();
    auto* spies = window.findChild<QListWidget*>(QStringLiteral("listbox_spys"));
    ASSERT_NE(spies, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return spies->count() == 1; }));
    EXPECT_EQ(spies->item(0)->text(), QStringLiteral("3: Spy"));

    // The host's window chooses the computer player its server runs.
    auto* strong = window.findChild<QAction*>(QStringLiteral("ComputerStrong1"));
    ASSERT_NE(strong, nullptr);
    ASSERT_TRUE(strong->isEnabled());
    strong->trigger();
    EXPECT_EQ(server.computerPlayer(), plimb::ComputerKind::Strong);
    window.findChild<QAction*>(QStringLiteral("ComputerClassic1"))->trigger();
    EXPECT_EQ(server.computerPlayer(), plimb::ComputerKind::Classic);
    QFile settings(qEnvironmentVariable("PLIMB_DATA_DIR") + QStringLiteral("/vexolobby.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("Klot=classic")) << "kept for the next run";

    // File, Start Game opens the options; its Start Game button starts the game for everybody.
    auto* startItem = window.findChild<QAction*>(QStringLiteral("StartGame1"));
    ASSERT_NE(startItem, nullptr);
    startItem->trigger();
    auto* options = window.findChild<plimb::Tgamestart*>();
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(options->isVisible());
    auto* start = options->findChild<QPushButton*>(QStringLiteral("button_start"));
    QTest::mouseClick(start, Qt::LeftButton);
    // Without a settings file the connection clears "Unlimited Steals": five steals.
    EXPECT_EQ(spy.waitFor("CMD_startgame+"), "CMD_startgame+You+30+200+5+");
    bob.send(plimb::build::justwatchRequest(2, 1));

    // Seat 2 moves first (the computer, for Bob); then it is the window's turn.
    ASSERT_TRUE(spy.waitFor("CMD_nextplayer+1+").has_value());
    ASSERT_TRUE(pumpUntil([&] { return model.currentPlayer() == 1 && model.view().extra[6].drawn; }));

    auto* panel = window.gamePanel();
    const int letter = model.view().extra[2].code;
    ASSERT_GE(letter, 1);
    QTest::mousePress(panel->extra(2), Qt::LeftButton);
    QTest::mouseRelease(panel->extra(2), Qt::LeftButton);
    QTest::mousePress(panel->myletter(4), Qt::LeftButton);
    QTest::mouseRelease(panel->myletter(4), Qt::LeftButton);

    const auto placed = spy.waitFor("CMD_placemyletter+1+");
    EXPECT_EQ(placed, plimb::build::placemyletter(1, 2, 4, letter));
    ASSERT_TRUE(pumpUntil([&] { return model.view().myletter[4].drawn; }));
    EXPECT_EQ(model.view().myletter[4].code, letter);
    EXPECT_FALSE(model.view().extra[2].drawn && model.view().extra[2].code != 0)
        << "the hand slot was emptied";
    EXPECT_TRUE(panel->myletter(4)->accessibleName().endsWith(QChar('A' + letter - 1)));
    EXPECT_TRUE(spy.waitFor("CMD_nextplayer+2+").has_value()) << "placing ends the turn";
}

// Keys go where the keyboard focus is, as typed.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Tabs on until the focus is on a widget the test wants; false when a whole round finds none.
template <typename Pred> bool tabUntil(Pred pred) {
    for (int tabs = 0; tabs < 80; ++tabs) {
        if (QApplication::focusWidget() != nullptr && pred(QApplication::focusWidget())) return true;
        press(Qt::Key_Tab);
    }
    return false;
}

// The letter a slot shows, read from its accessible name ("Your hand 2: Q"), as a screen reader does.
QChar shownLetter(QWidget* slot) {
    const QString name = QAccessible::queryAccessibleInterface(slot)->text(QAccessible::Name);
    return name.endsWith(QStringLiteral(": empty")) ? QChar() : name.back();
}

TEST(WindowE2E, ASoloGamePlayedToItsEndWithTheKeyboardAlone) {
    // Settings that name a lobby server make a solo start offer the lobby download in a window of
    // its own; the player puts it away.
    QFile settings(qEnvironmentVariable("PLIMB_DATA_DIR") + QStringLiteral("/vexolobby.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Plimb]\nLobbyServer=http://127.0.0.1:9\n");
    settings.close();
    SoloHost host;
    auto& window = host.window;
    auto& model = window.model();
    ASSERT_TRUE(pumpUntil([&] { return model.me().loggedIn && model.me().seat == 1; }));
    ASSERT_TRUE(pumpUntil([&] { return window.downloadWindow()->isVisible(); }));
    window.downloadWindow()->hide();
    window.activateWindow();
    ASSERT_TRUE(pumpUntil([&] { return QApplication::activeWindow() == &window; }));
    auto* panel = window.gamePanel();
    const auto onBoard = [](QWidget* w) { return qobject_cast<plimb::SlotWidget*>(w) != nullptr; };

    // Tab from the chat entry enters the board on one slot; Shift+Tab goes back.
    QWidget* entry = window.chatWidget()->mychat();
    entry->setFocus();
    ASSERT_TRUE(pumpUntil([&] { return QApplication::focusWidget() == entry; }));
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), panel->focusSlot());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), entry);

    // A short game: the options show a play-to score of 5, as a settings file may restore it.
    window.gameStart()->setPlayToScoreText(QStringLiteral("5"));
    auto* start = panel->findChild<QPushButton*>(QStringLiteral("button_start"));
    ASSERT_TRUE(tabUntil([&](QWidget* w) { return w == start; }));
    press(Qt::Key_Space);
    ASSERT_TRUE(pumpUntil([&] { return QApplication::activeWindow() == window.gameStart(); }));
    press(Qt::Key_Return);
    ASSERT_TRUE(pumpUntil([&] { return model.currentPlayer() != 0; }));
    window.activateWindow();
    ASSERT_TRUE(pumpUntil([&] { return QApplication::activeWindow() == &window; }));
    ASSERT_TRUE(tabUntil(onBoard));

    // Each turn: Down to the hand, the first hand letter typed, Up to the board, Home and Right
    // to its first empty slot, Enter.
    int turns = 0;
    const auto decided = [&] { return model.view().winnerVisible; };
    while (!decided()) {
        const auto myTurn = [&] { return model.currentPlayer() == 1 && model.queue().empty(); };
        ASSERT_TRUE(pumpUntil([&] { return decided() || myTurn(); }));
        if (decided()) break;
        ASSERT_LT(++turns, 40) << "a game to 5 points ends long before";
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        int hand = 1;
        while (hand < 6 && shownLetter(panel->extra(hand)).isNull())
            ++hand;
        int board = 1;
        while (board < 10 && !shownLetter(panel->myletter(board)).isNull())
            ++board;
        QTest::keyClick(QApplication::focusWidget(), shownLetter(panel->extra(hand)).toLower().toLatin1());
        EXPECT_EQ(QApplication::focusWidget(), panel->extra(hand));
        press(Qt::Key_Up);
        press(Qt::Key_Home);
        for (int n = 1; n < board; ++n)
            press(Qt::Key_Right);
        EXPECT_EQ(QApplication::focusWidget(), panel->myletter(board));
        press(Qt::Key_Return);
        ASSERT_TRUE(pumpUntil([&] { return decided() || model.currentPlayer() != 1; })) << "turn " << turns;
    }
    EXPECT_GE(turns, 1);
    ASSERT_TRUE(pumpUntil([&] { return !panel->announcementPending(); }));
    // Either side may win: "Klot has won the game!" or, in the player's own words, "You have won".
    EXPECT_TRUE(panel->announcer()->accessibleName().endsWith(QStringLiteral(" won the game!")))
        << panel->announcer()->accessibleName().toStdString();

    // The game was kept as it went, and its replay ends where the window did.
    const QDir games(qEnvironmentVariable("PLIMB_DATA_DIR") + QStringLiteral("/games"));
    const QStringList kept = games.entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1) << kept.join(QChar(' ')).toStdString();
    QFile record(games.filePath(kept[0]));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const plimb::RecordRead read = plimb::readRecord(record.readAll().toStdString());
    ASSERT_TRUE(read.record) << read.fault;
    EXPECT_EQ(read.record->header.players, (std::array<std::string, 2>{"You", "Klot"}));
    plimb::ReplayModel replay(*read.record);
    replay.seek(replay.lastMoment());
    const plimb::ViewState& live = model.view();
    const plimb::ViewState& again = replay.view();
    for (const int seat : {1, 2}) {
        EXPECT_EQ(again.rowFor(seat).name, live.rowFor(seat).name);
        EXPECT_EQ(again.rowFor(seat).score, live.rowFor(seat).score);
    }
    const auto tiles = [](const plimb::ViewState& v) {
        std::string out;
        for (const auto* family : {&v.myletter, &v.hisletter})
            for (const plimb::SlotView& slot : *family)
                out += slot.drawn ? std::to_string(slot.code) + "," : "_,";
        return out;
    };
    EXPECT_EQ(tiles(again), tiles(live));
    EXPECT_EQ(again.mywords, live.mywords);
    EXPECT_EQ(again.winnerText, live.winnerText);
}

TEST(WindowE2E, AJoinerRefusedByAFullTableSeesGameIsFullAndEnds) {
    plimb::Random random;
    const plimb::TDictn spell(plimb::builtinWordRecords());
    plimb::TServer server(random, spell, plimb::builtinComputerWords());
    server.listen();
    std::vector<std::unique_ptr<RawClient>> table;
    for (int seat = 1; seat <= 9; ++seat) {
        table.push_back(std::make_unique<RawClient>(pump));
        ASSERT_TRUE(table.back()->connectTo(plimb::kGamePort));
        ASSERT_EQ(table.back()->next(), "CMD_sendlogininfo+" + std::to_string(seat));
    }

    plimb::Tchat window(random);
    window.setParams({"Zed", "127.0.0.1", "join"});
    // The box runs its own event loop; answer it from a timer inside that loop, as a user would.
    QString seen;
    bool windowUpDuringBox = false;
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            windowUpDuringBox = window.isVisible();
            box->accept();
        }
    });
    user.start();
    window.show();
    ASSERT_TRUE(pumpUntil([&] { return !seen.isEmpty() && !window.isVisible(); }));
    EXPECT_EQ(seen, QStringLiteral("Game is full"));
    EXPECT_TRUE(windowUpDuringBox) << "the window waits for the user to read the box, then ends";
}

// Places the first hand letter on the first empty board slot, with the mouse.
void placeALetter(plimb::Tchat& window) {
    const auto& view = window.model().view();
    int hand = 1, board = 1;
    while (hand < 6 && !(view.extra[hand].drawn && view.extra[hand].code != 0))
        ++hand;
    while (board < 10 && view.myletter[board].drawn && view.myletter[board].code != 0)
        ++board;
    QTest::mousePress(window.gamePanel()->extra(hand), Qt::LeftButton);
    QTest::mousePress(window.gamePanel()->myletter(board), Qt::LeftButton);
}

TEST(WindowE2E, TwoWindowsHostAndJoinAndPlayAgainstEachOther) {
    plimb::Random hostRandom, joinRandom;
    plimb::Tchat host(hostRandom);
    const plimb::TDictn spell(plimb::builtinWordRecords());
    plimb::TServer server(hostRandom, spell, plimb::builtinComputerWords());
    host.setServer(&server);
    host.setParams({"Ann", "10.0.0.5", "true"}); // a host always joins itself over 127.0.0.1
    host.show();
    ASSERT_TRUE(pumpUntil([&] { return host.model().me().seat == 1; }));

    plimb::Tchat join(joinRandom);
    join.setParams({"Bob", "127.0.0.1", "join"});
    join.show();
    // The host's own client logs in at its own pace, before Bob or after him; either way both
    // windows end up showing both players.
    const auto& rows = join.model().view().rows;
    ASSERT_TRUE(pumpUntil([&] {
        return join.model().me().seat == 2 && host.model().view().rowFor(2).name == "Bob" &&
               join.model().view().rowFor(2).name == "Bob" && join.model().view().rowFor(1).name == "Ann";
    })) << "the joining window shows "
        << rows[0].name << " near and " << rows[1].name << " far";
    EXPECT_EQ(rows[0].name, "Bob") << "a seat 2 client sees its own row near";

    host.findChild<QAction*>(QStringLiteral("StartGame1"))->trigger();
    auto* options = host.findChild<plimb::Tgamestart*>();
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("button_start")), Qt::LeftButton);

    // Seat 2 moves first; then the turns alternate, each played with the mouse in its own window.
    for (int turn = 0; turn < 4; ++turn) {
        plimb::Tchat& mover = turn % 2 == 0 ? join : host;
        plimb::Tchat& other = turn % 2 == 0 ? host : join;
        const int seat = turn % 2 == 0 ? 2 : 1;
        ASSERT_TRUE(pumpUntil([&] {
            return mover.model().currentPlayer() == seat && other.model().currentPlayer() == seat &&
                   mover.model().view().extra[6].drawn;
        })) << "turn "
            << turn;
        placeALetter(mover);
        ASSERT_TRUE(pumpUntil([&] { return other.model().currentPlayer() == 3 - seat; }))
            << "turn " << turn << ", the mover's status: " << mover.model().view().status;
    }
    ASSERT_TRUE(pumpUntil([&] { return host.model().queue().empty() && join.model().queue().empty(); }));
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(host.model().view().myletter[n].code, join.model().view().hisletter[n].code) << n;
        EXPECT_EQ(host.model().view().hisletter[n].code, join.model().view().myletter[n].code) << n;
    }
    EXPECT_NE(host.model().view().myletter[1].code, 0);
    EXPECT_NE(join.model().view().myletter[1].code, 0);
}

TEST(WindowE2E, QuickInstructionsCoverTheBoardUntilDone) {
    plimb::Random random;
    plimb::Tchat window(random); // not shown: nothing is hosted or joined
    QAction* quick = nullptr;
    for (QAction* a : window.findChildren<QAction*>())
        if (a->text() == QStringLiteral("Quick Instructions")) quick = a;
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(quick->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    auto* panel = window.findChild<QWidget*>(QStringLiteral("panel_help"));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisibleTo(&window));
    quick->trigger();
    EXPECT_TRUE(panel->isVisibleTo(&window));
    EXPECT_EQ(panel->pos(), QPoint(1, 1));
    // Steps 1 to 3 down the left, 4 to 6 down the middle, the side note on the right; all inside.
    panel->layout()->activate();
    const auto at = [&](const QString& start) {
        for (auto* label : panel->findChildren<QLabel*>())
            if (label->text().startsWith(start)) return label->geometry();
        ADD_FAILURE() << start.toStdString();
        return QRect();
    };
    const QRect s1 = at("1. "), s3 = at("3. "), s4 = at("4. "), s6 = at("6. "), note = at("You can also");
    EXPECT_EQ(s1.left(), s3.left());
    EXPECT_LT(s1.bottom(), s3.top());
    EXPECT_EQ(s4.left(), s6.left());
    EXPECT_LT(s1.right(), s4.left());
    EXPECT_LT(s4.right(), note.left());
    EXPECT_LE(s6.bottom(), panel->height());
    EXPECT_LE(s3.bottom(), panel->height());
    auto* done = panel->findChild<QPushButton*>(QStringLiteral("button_done"));
    ASSERT_NE(done, nullptr);
    QTest::mouseClick(done, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisibleTo(&window));
}

TEST(WindowE2E, AJoinThatCannotConnectSaysWhyInTheChatAndOffersToTryAgain) {
    struct Row {
        QString host;
        QString expected;
    };
    // Nothing listens on the game port here; the name under .invalid never resolves.
    const Row rows[] = {
        {QStringLiteral("127.0.0.1"),
         QStringLiteral("Could not connect to 127.0.0.1: Error #10061 (WSAECONNREFUSED)\n") +
             QString::fromStdString(plimb::connectFailureAdvice(10061, "127.0.0.1", 7772))},
        {QStringLiteral("no-such-host.invalid"),
         QStringLiteral("Could not connect to no-such-host.invalid: Error #11001 (WSAHOST_NOT_FOUND)\n") +
             QString::fromStdString(plimb::connectFailureAdvice(11001, "no-such-host.invalid", 7772))},
    };
    for (const Row& row : rows) {
        plimb::Random random;
        plimb::Tchat window(random);
        window.setParams({"Zed", row.host, "join"});
        window.show();
        const QSize size = window.size();
        QTextEdit* chat = window.chatWidget()->mainchat();
        auto* tryAgain = window.connectionBanner()->findChild<QPushButton*>(QStringLiteral("button_rejoin"));
        ASSERT_TRUE(pumpUntil([&] { return tryAgain->isVisible() && tryAgain->isEnabled(); }))
            << row.host.toStdString();
        const QString loading = QStringLiteral("Loading Multi-player Game.. Please Wait.\n");
        EXPECT_EQ(chat->toPlainText(), loading + row.expected + QStringLiteral("\n"))
            << "written once, under the loading lines";
        EXPECT_EQ(tryAgain->text(), QStringLiteral("Try Again"));
        EXPECT_EQ(window.size(), size) << "the banner lies over the board";

        // Each attempt that fails is told again.
        tryAgain->click();
        ASSERT_TRUE(pumpUntil([&] { return chat->toPlainText().count(QStringLiteral("Could not")) == 2; }));
        ASSERT_TRUE(pumpUntil([&] { return tryAgain->isEnabled(); }));
        EXPECT_EQ(chat->toPlainText(),
                  loading + row.expected + QStringLiteral("\n") + row.expected + QStringLiteral("\n"));
        EXPECT_TRUE(window.isVisible()) << "no exit";
    }
}

} // namespace

namespace {

// The windows save their settings; each test gets a folder of its own, out of the build folder,
// so none plays by what an earlier one left (a game to 5 points, say, that ends before the
// turns a later test counts on).
class DataFolderPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        folder_ = std::make_unique<QTemporaryDir>();
        qputenv("PLIMB_DATA_DIR", folder_->path().toUtf8());
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        qunsetenv("PLIMB_DATA_DIR");
        folder_.reset();
    }
    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace

// Its own main for the data folder listener, which has to be in place before the first test.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    plimb::test::ensureApplication();
    ::testing::UnitTest::GetInstance()->listeners().Append(new DataFolderPerTest);
    return RUN_ALL_TESTS();
}
