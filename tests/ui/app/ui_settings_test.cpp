// The main window's preferences: loaded when the client learns its seat, saved on every change,
// and the phrase buttons, their editor and the sound switches around them.
#include "support/qtapp.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/net/protocol.h"
#include "core/rules/random.h"
#include "ui/app/tchat.h"
#include "ui/board/tgamestart.h"
#include "ui/chat/chatwidget.h"
#include "ui/chat/phrasebar.h"
#include "ui/chat/settingsstore.h"
#include "ui/chat/soundplayer.h"
#include "ui/chat/tphrases.h"
#include "ui/windows/tabout.h"
#include "ui/windows/thelp.h"
#include "ui/windows/ttallylist.h"

namespace plimb {
namespace {

class SettingsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plimb::test::ensureApplication(); }
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("PLIMB_DATA_DIR", dir.path().toUtf8());
    }
    void TearDown() override { qunsetenv("PLIMB_DATA_DIR"); }

    QString iniPath() const { return dir.filePath(QStringLiteral("vexolobby.ini")); }
    void writeIni(const QByteArray& text) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readIni() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The client's own seat announcement is what loads the settings.
    static void connectAs(Tchat& w, int seat) {
        w.model().received(build::sendlogininfo(seat));
        w.model().received(build::newplayerinfo(seat, "Ann"));
        while (!w.model().queue().empty())
            w.model().processsocktimer();
    }
    QAction* action(Tchat& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    Random random;
};

TEST_F(SettingsWindowTest, StoredPreferencesApplyAtConnectAndChangesAreSavedKeepingTheRest) {
    const QByteArray lobby = "; shared with the lobby\r\n[Lobby]\r\nServer=x\r\n\r\n";
    writeIni(lobby +
             "[Plimb]\r\nTextsize=9\r\nTextcolor=$000000FF\r\nPlaysounds=FALSE\r\n"
             "ChatterSounds=false\r\nPlaytoscore=5000\r\nCreationtime=x\r\nTurnsound=1\r\n"
             "Unlimited=t\r\nPhrase2=Hi all\r\nPhrase3=\r\nLeft=10\r\nTop=20\r\nWidth=700\r\nHeight=500\r\n"
             "Custom=kept\r\n");
    Tchat w(random);
    connectAs(w, 1);
    EXPECT_EQ(w.chatWidget()->textSize(), 9);
    EXPECT_EQ(w.chatWidget()->textColour(), clRed);
    EXPECT_TRUE(action(w, "PlaySounds1")->isChecked()) << "FALSE in capitals keeps sounds on";
    EXPECT_FALSE(action(w, "PlayChatterSounds1")->isChecked());
    EXPECT_FALSE(w.model().switches().playChatterSounds);
    EXPECT_TRUE(action(w, "New1")->isChecked());
    EXPECT_EQ(w.model().switches().turnSound, 1);
    EXPECT_EQ(w.gameStart()->playToScoreText(), "5000");
    EXPECT_EQ(w.gameStart()->timePerTurnText(), "30") << "an unreadable option keeps the dialog's value";
    EXPECT_TRUE(w.gameStart()->unlimited());
    EXPECT_EQ(w.phraseBar()->phrase(2), "Hi all");
    EXPECT_EQ(w.phraseBar()->phrase(3), "Nice Try!");
    EXPECT_EQ(w.size(), QSize(700, 500));

    action(w, "Classic1")->trigger();
    const QByteArray saved = readIni();
    EXPECT_TRUE(saved.startsWith(lobby)) << saved.constData();
    EXPECT_TRUE(saved.contains("\r\nTextcolor=clRed\r\n"));
    EXPECT_TRUE(saved.contains("\r\nTurnsound=0\r\n"));
    EXPECT_TRUE(saved.contains("\r\nPlaytoscore=5000\r\n"));
    EXPECT_TRUE(saved.contains("\r\nCustom=kept\r\n"));
    EXPECT_TRUE(saved.contains("\r\nPhrase2=Hi all\r\n")) << "phrases are written only by the editor";
}

TEST_F(SettingsWindowTest, TheComputerPlayerIsKeptAndOnlyTheHostMayChooseIt) {
    writeIni("[Plimb]\r\nKlot=strong\r\n");
    Tchat w(random);
    connectAs(w, 2);
    EXPECT_TRUE(action(w, "ComputerStrong1")->isChecked());
    EXPECT_FALSE(action(w, "ComputerStrong1")->isEnabled()) << "a joiner's window runs no computer player";
    action(w, "ComputerClassic1")->trigger();
    EXPECT_TRUE(action(w, "ComputerStrong1")->isChecked());
    EXPECT_EQ(readIni(), "[Plimb]\r\nKlot=strong\r\n");
    writeIni("[Plimb]\r\nKlot=STRONGER\r\n");
    Tchat other(random);
    connectAs(other, 2);
    EXPECT_TRUE(action(other, "ComputerClassic1")->isChecked()) << "anything else is Classic";
}

TEST_F(SettingsWindowTest, AWindowThatDoesNotFitTheScreenOpensAtTheDefaults) {
    for (const QByteArray& bounds : {QByteArray("Left=3\r\nTop=3\r\nWidth=100000\r\nHeight=100000\r\n"),
                                    QByteArray("Left=-90000\r\nTop=90000\r\nWidth=700\r\nHeight=500\r\n")}) {
        writeIni("[Plimb]\r\n" + bounds);
        Tchat w(random);
        connectAs(w, 1);
        EXPECT_EQ(w.geometry(), QRect(3, 3, 734, 540)) << bounds.constData();
    }
}

TEST_F(SettingsWindowTest, AGameTheUserPlayedIsTalliedAndWrittenAtOnce) {
    Tchat w(random);
    connectAs(w, 1);
    w.model().received(build::newplayerinfo(2, "Bob"));
    w.model().received(build::startgame("Ann", "30", "200", "5"));
    w.model().received(build::winner(1));
    while (!w.model().queue().empty())
        w.model().processsocktimer();
    EXPECT_EQ(w.tallyList()->tally().grid().cell(1, 0), "1") << "games played";
    EXPECT_EQ(w.tallyList()->tally().grid().cell(2, 0), "1") << "games won";
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("plimbtally.tld")))) << "not only at program end";
}

TEST_F(SettingsWindowTest, HelpAndAboutOpenFromTheHelpMenu) {
    Tchat w(random);
    QAction* content = action(w, "Content1");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->shortcut(), QKeySequence(Qt::Key_F1));
    content->trigger();
    EXPECT_TRUE(w.help()->isVisible());
    action(w, "About1")->trigger();
    EXPECT_TRUE(w.about()->isVisible());
}

TEST_F(SettingsWindowTest, ClosingSavesOnlyAMovedOrResizedWindow) {
    {
        Tchat w(random);
        connectAs(w, 1);
        w.close();
    }
    EXPECT_FALSE(QFile::exists(iniPath())) << "no file, no change: nothing written";
    {
        Tchat w(random);
        connectAs(w, 1);
        w.resize(700, 500);
        w.close();
    }
    EXPECT_TRUE(readIni().contains("Width=700\r\nHeight=500\r\n"));
    Tchat w(random);
    connectAs(w, 1);
    EXPECT_EQ(w.size(), QSize(700, 500));
}

TEST_F(SettingsWindowTest, PhraseEditorAppliesOnDoneAndItsCloseBoxDiscards) {
    Tchat w(random);
    connectAs(w, 2);
    Tphrases* editor = w.phraseEditor();
    action(w, "PrhaseList1")->trigger();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->edit(9)->text(), "Good Game Everyone!");
    editor->edit(1)->setText(QString(60, QLatin1Char('x')));
    EXPECT_EQ(editor->edit(1)->text().size(), Tphrases::kMaxPhraseLength);
    editor->close();
    EXPECT_EQ(w.phraseBar()->phrase(1), "Way To Go!");
    EXPECT_FALSE(QFile::exists(iniPath()));

    action(w, "PrhaseList1")->trigger(); // the boxes are filled from the buttons again
    EXPECT_EQ(editor->edit(1)->text(), "Way To Go!");
    editor->edit(1)->setText("/me cheers loudly");
    editor->edit(4)->clear();
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(w.phraseBar()->phrase(1), "/me cheers loudly");
    EXPECT_EQ(w.phraseBar()->button(1)->accessibleName(), "/me cheers loudly");
    const QByteArray saved = readIni();
    EXPECT_TRUE(saved.contains("Phrase1=/me cheers loudly\r\n")) << saved.constData();
    EXPECT_TRUE(saved.contains("Phrase4=\r\n"));

    Tchat again(random);
    connectAs(again, 2);
    EXPECT_EQ(again.phraseBar()->phrase(1), "/me cheers loudly");
    EXPECT_EQ(again.phraseBar()->phrase(4), "Excellent!")
        << "an empty stored phrase brings the built-in back";
}

TEST_F(SettingsWindowTest, AFolderThatCannotBeWrittenLosesTheWriteAndNothingElse) {
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const SettingsStore store([&] { return blocker + QStringLiteral("/vexolobby.ini"); });
    EXPECT_FALSE(store.update([](IniFile& ini) { ini.set("Plimb", "Textsize", "10"); }));
    EXPECT_TRUE(store.read().text().empty());

    // A file that exists but cannot be read is never replaced by our section alone.
    const QString folder = dir.filePath(QStringLiteral("ini-is-a-folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const SettingsStore unreadable([&] { return folder; });
    EXPECT_FALSE(unreadable.update([](IniFile& ini) { ini.set("Plimb", "Textsize", "10"); }));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(SettingsWindowTest, SoundsAreFoundWithoutRegardToCaseAndOthersGiveTheAlert) {
    SoundPlayer player;
    QStringList heard;
    int beeps = 0;
    player.setOutputForTesting([&](const QUrl& url) { heard << url.toString(); }, [&] { ++beeps; });
    for (const char* name : {"badword", "CLEAR", "Wave13", "wave20", "winner", "turnnew", "wave21"})
        player.play(QString::fromLatin1(name));
    EXPECT_EQ(heard, (QStringList{"qrc:/sounds/BADWORD", "qrc:/sounds/CLEAR", "qrc:/sounds/WAVE13",
                                  "qrc:/sounds/WAVE20"}));
    EXPECT_EQ(beeps, 3);
    for (const char* name : {"entered", "gameover", "goodword", "place", "roundover", "start", "tick"})
        EXPECT_FALSE(player.resourceFor(QString::fromLatin1(name)).isEmpty()) << name;
}

} // namespace
} // namespace plimb
