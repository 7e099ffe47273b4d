// The kept games in the windows: the folder as the list reads it, the replay window's controls,
// and the tally's games against an opponent.
#include "support/qtapp.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/net/protocol.h"
#include "support/fifo.h"
#include "ui/windows/recordfolder.h"
#include "ui/windows/resultchart.h"
#include "ui/windows/treplay.h"
#include "ui/windows/treplaylist.h"
#include "ui/windows/ttallylist.h"

namespace plimb {
namespace {

// A game of three turns, Ann against Bo, as Ann's window kept it; `winner` 0 leaves it unfinished.
std::string game(std::int64_t started, const std::string& bo, int winner) {
    std::string text = formatHeader({started, {"Ann", bo}, 200, 30, 5, 1, "Ann"});
    int ms = 0;
    for (const std::string& n : {build::startgame("Ann", "30", "200", "5"), build::nextplayer(1, 5),
                                 build::chat("Ann", "one|clBlack"), build::formedword(1, "cat", 5, 5),
                                 build::nextplayer(2, 5), build::chat(bo, "two|clBlack"),
                                 build::formedword(2, "dogs", 9, 9), build::nextplayer(1, 5)})
        text += formatNotice(ms += 10, n);
    if (winner != 0) text += formatNotice(ms += 10, build::winner(winner));
    return text;
}

class RecordsUi : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plimb::test::ensureApplication(); }
    void put(const std::string& name, const std::string& text) {
        QFile f(QDir(dir.path()).filePath(QString::fromStdString(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.data(), static_cast<qint64>(text.size()));
    }
    QTemporaryDir dir;
    RecordFolder folder{dir.path()};
};

TEST_F(RecordsUi, TheListShowsTheGamesNewestFirstAndNamesWhatItSkips) {
    put(recordFileName(1000), game(1000, "Bo", 1));
    put(recordFileName(5000), game(5000, "Cy", 2));
    put("notes.txt", "milk\n");
    put(recordFileName(3000), game(3000, "Bo", 0).substr(0, 60) + "\nbroken\n");
    ASSERT_EQ(::mkfifo(QDir(dir.path()).filePath("pipe").toLocal8Bit().constData(), 0600), 0);
    const RecordListing listing =
        test::loadBesideFifo(QDir(dir.path()).filePath("pipe").toStdString(), [this] { return folder.listing(); });
    Treplaylist list([&listing] { return listing; }, nullptr);
    QTreeWidget* rows = list.list();
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    const auto row = [rows](int i) {
        QStringList cells;
        for (int c = 1; c < rows->columnCount(); ++c)
            cells << rows->topLevelItem(i)->text(c);
        return cells.join('|');
    };
    EXPECT_EQ(row(0), "Cy|5 to 9|Cy|2");
    EXPECT_EQ(row(1), "Bo|5 to 9|Ann|2");
    const QString skipped = list.skippedLabel()->text();
    for (const char* part : {"notes.txt: not a game record", "pipe: not a regular file", "damaged: "})
        EXPECT_TRUE(skipped.contains(part)) << skipped.toStdString() << " lacks " << part;

    QStringList opened;
    QObject::connect(&list, &Treplaylist::replayRequested, [&opened](const QString& f) { opened << f; });
    list.show();
    rows->setFocus();
    rows->setCurrentItem(rows->topLevelItem(1));
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(opened.join(QChar(',')).toStdString(), recordFileName(1000)); // once
}

TEST_F(RecordsUi, TheFolderNeitherOverwritesNorRevivesARecordAndListsWhatChanged) {
    const std::string name = recordFileName(1000);
    EXPECT_TRUE(folder.create(name, game(1000, "Bo", 0)));
    EXPECT_FALSE(folder.create(name, "other\n"));
    put("readme.txt", "not ours");
    ASSERT_EQ(folder.kept().size(), 1u);
    EXPECT_EQ(folder.listing().games.at(0).summary.winner, 0);
    ASSERT_TRUE(folder.append(name, formatNotice(900, build::winner(2))));
    EXPECT_EQ(folder.kept()[0].bytes, game(1000, "Bo", 0).size() + formatNotice(900, build::winner(2)).size());
    EXPECT_EQ(folder.listing().games.at(0).summary.winner, 2); // read again, as it grew
    folder.remove(name);
    EXPECT_FALSE(folder.append(name, "line\n"));
    EXPECT_TRUE(folder.kept().empty());
    EXPECT_TRUE(folder.listing().games.empty());
}

TEST_F(RecordsUi, TheReplayWindowGoesByTurnsByKeysAndPlaysToTheEnd) {
    Treplay window(*readRecord(game(0, "Bo", 2)).record, "replay", nullptr);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, static_cast<int>(test::kPatience.count())));
    const auto key = [&window](Qt::Key k) { QTest::keyClick(window.playButton(), k); };
    const auto turn = [&window] { return window.replay().turnAt(window.replay().position()); };
    EXPECT_EQ(window.replay().position(), 1u);
    for (const auto& [k, expected] : std::vector<std::pair<Qt::Key, int>>{
             {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_End, 3}, {Qt::Key_Home, 0}}) {
        key(k);
        EXPECT_EQ(turn(), expected) << k;
        EXPECT_EQ(window.slider()->value(), static_cast<int>(window.replay().position()));
    }
    window.slider()->setValue(6);
    EXPECT_EQ(window.replay().position(), 6u);
    // The start, Ann's line, her word and Bo's line.
    EXPECT_EQ(window.replay().chatLines(), 4u);
    // Play starts over from the end and stops by itself at the end.
    key(Qt::Key_End);
    QTest::keyClick(window.slider(), Qt::Key_P);
    EXPECT_TRUE(window.playing());
    EXPECT_EQ(window.playButton()->text(), "Pause");
    QTRY_VERIFY_WITH_TIMEOUT(!window.playing(), test::kPatience.count());
    EXPECT_TRUE(window.replay().atEnd());
    EXPECT_EQ(window.playButton()->text(), "Play");
    EXPECT_TRUE(window.replay().view().winnerVisible);
}

TEST_F(RecordsUi, TheTallyShowsTheGamesAgainstThePickedOpponent) {
    put(recordFileName(1000), game(1000, "Bo", 1));
    put(recordFileName(2000), game(2000, "bo", 2));
    put(recordFileName(3000), game(3000, "Bo", 0));
    put(recordFileName(4000), game(4000, "Cy", 1));
    Ttallylist tally;
    tally.setRecords([this] { return folder.listing(); });
    tally.show();
    tally.loadchecklist({"Bo"});
    auto* current = tally.findChild<QListWidget*>("checklist");
    current->item(0)->setCheckState(Qt::Checked);
    auto* followed = tally.findChild<QListWidget*>("listbox_tally");
    followed->setCurrentRow(0);
    OpponentGames* games = tally.opponentGames();
    ASSERT_NE(games, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(games->games()->topLevelItemCount(), 3, test::kPatience.count());
    EXPECT_EQ(games->games()->topLevelItem(0)->text(1), "Not finished");
    EXPECT_EQ(games->games()->topLevelItem(1)->text(1), "Lost");
    EXPECT_EQ(games->games()->topLevelItem(2)->text(1), "Won");
    EXPECT_EQ(games->chart()->summary(), "3 games: 1 won, 1 lost, 1 not finished; 50% of the decided games won");
    EXPECT_EQ(games->chart()->accessibleDescription(), games->chart()->summary());
    QString opened;
    QObject::connect(&tally, &Ttallylist::replayRequested, [&opened](const QString& f) { opened = f; });
    emit games->games()->itemActivated(games->games()->topLevelItem(2), 0);
    EXPECT_EQ(opened.toStdString(), recordFileName(1000));
}

} // namespace
} // namespace plimb
