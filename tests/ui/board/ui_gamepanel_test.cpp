#include "support/qtapp.h"
#include "ui/board/gamepanel.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>
#include <algorithm>
#include <gtest/gtest.h>

namespace plimb {
namespace {

// A game in full swing, as a seat 1 player sees it: letters on both boards, a hand with the
// third tile picked, words scored and the clock running.
ViewState midGame() {
    ViewState v;
    const int mine[] = {3, 18, 1, 14, 5, 0, 0, 0, 0, 0}; // C R A N E
    const int his[] = {0, 17, 21, 9, 26, 0, 0, 0, 0, 0}; // _ Q U I Z
    const int hand[] = {0, 19, 20, 15, 13, 24, 11};      // S T O M X K
    for (int n = 1; n <= 10; ++n) {
        v.myletter[n].drawn = mine[n - 1] != 0;
        v.myletter[n].code = mine[n - 1];
        v.hisletter[n].drawn = his[n - 1] != 0;
        v.hisletter[n].code = his[n - 1];
    }
    for (int n = 1; n <= 6; ++n) {
        v.extra[n].drawn = true;
        v.extra[n].code = hand[n];
    }
    v.extra[3].raised = true;
    v.rows[0] = {"Margot", true, "37", true, "Steals Left: 3", true, false};
    v.rows[1] = {"Klot", true, "42", true, "Steals Left: Unlimited", false, false};
    v.status = "It is Margot's turn";
    v.playtoscore = "Play to Score: 200";
    v.timeperturn = "Time per Turn: 30 ";
    v.steals = "# of Steals: Unlimited";
    v.turntime = "Time: 0:21";
    v.timerWidth = 6 * 21;
    v.mywords = {"crane : 7", "ran : 3", "care : 6"};
    v.mywordsCaption = "Your Words: (3)";
    return v;
}

SlotWidget* slotNamed(const QWidget& panel, const QString& accessibleName) {
    for (SlotWidget* slot : panel.findChildren<SlotWidget*>())
        if (slot->accessibleName() == accessibleName) return slot;
    return nullptr;
}

QLabel* labelShowing(const QWidget& panel, const QString& text) {
    for (QLabel* label : panel.findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

class GamePanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override {
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel, 30000));
    }
    GamePanel panel;
};

TEST_F(GamePanelTest, OwnBoardAndHandReactToThePressOfAnyButton) {
    panel.render(midGame());
    QSignalSpy board(&panel, &GamePanel::myLetterPressed);
    QSignalSpy hand(&panel, &GamePanel::extraPressed);

    SlotWidget* board3 = slotNamed(panel, "Your board 3: A");
    ASSERT_NE(board3, nullptr);
    QTest::mousePress(board3, Qt::LeftButton);
    QTest::mousePress(board3, Qt::RightButton);
    QTest::mousePress(board3, Qt::MiddleButton);
    ASSERT_EQ(board.count(), 3);
    EXPECT_EQ(board[0][0].toInt(), 3);
    EXPECT_EQ(board[0][1].value<MouseButton>(), MouseButton::Left);
    EXPECT_EQ(board[1][1].value<MouseButton>(), MouseButton::Right);
    EXPECT_EQ(board[2][1].value<MouseButton>(), MouseButton::Other);

    // An empty slot is pressable too: the server decides whether the move makes sense.
    SlotWidget* board10 = slotNamed(panel, "Your board 10: empty");
    ASSERT_NE(board10, nullptr);
    QTest::mousePress(board10, Qt::LeftButton);
    ASSERT_EQ(board.count(), 4);
    EXPECT_EQ(board[3][0].toInt(), 10);

    SlotWidget* hand6 = slotNamed(panel, "Your hand 6: K");
    ASSERT_NE(hand6, nullptr);
    QTest::mousePress(hand6, Qt::RightButton);
    ASSERT_EQ(hand.count(), 1);
    EXPECT_EQ(hand[0][0].toInt(), 6);
    EXPECT_EQ(hand[0][1].value<MouseButton>(), MouseButton::Right);
    EXPECT_EQ(board.count(), 4);
}

TEST_F(GamePanelTest, OpponentBoardReactsOnlyToACompletedLeftClick) {
    panel.render(midGame());
    QSignalSpy clicked(&panel, &GamePanel::hisLetterClicked);
    SlotWidget* his2 = slotNamed(panel, "Opponent's board 2: Q");
    ASSERT_NE(his2, nullptr);

    QTest::mousePress(his2, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0) << "a press alone is not a click";
    QTest::mouseRelease(his2, Qt::LeftButton);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 2);

    QTest::mouseClick(his2, Qt::RightButton);
    EXPECT_EQ(clicked.count(), 1);

    // Pressed here but released outside the slot: the player changed their mind.
    QTest::mousePress(his2, Qt::LeftButton);
    QTest::mouseRelease(his2, Qt::LeftButton, {}, QPoint(-20, 60));
    EXPECT_EQ(clicked.count(), 1);

    // A release without its press does not count either.
    QTest::mouseRelease(his2, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);

    QSignalSpy pressed(&panel, &GamePanel::myLetterPressed);
    QTest::mouseClick(his2, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(pressed.count(), 0);
}

TEST_F(GamePanelTest, SlotsShowTheirLettersAtTheirTops) {
    ViewState v = midGame();
    v.myletter[4].raised = true;
    panel.render(v);

    SlotWidget* crane4 = slotNamed(panel, "Your board 4: N");
    ASSERT_NE(crane4, nullptr);
    EXPECT_EQ(crane4->pos(), QPoint(myLetterLeft(4), kMyLetterSelectedTop));
    EXPECT_EQ(crane4->size(), QSize(41, 41));
    SlotWidget* quiz5 = slotNamed(panel, "Opponent's board 5: Z");
    ASSERT_NE(quiz5, nullptr);
    EXPECT_EQ(quiz5->pos(), QPoint(hisLetterLeft(5), kHisLetterTop));
    SlotWidget* hand3 = slotNamed(panel, "Your hand 3: O");
    ASSERT_NE(hand3, nullptr);
    EXPECT_EQ(hand3->pos(), QPoint(extraLeft(3), kExtraSelectedTop));
    EXPECT_NE(slotNamed(panel, "Opponent's board 1: empty"), nullptr);

    // The next render puts the tile back and replaces the letter; names follow at once.
    v.myletter[4].raised = false;
    v.myletter[4].code = 7;
    v.extra[3].raised = false;
    v.extra[3].drawn = false;
    panel.render(v);
    EXPECT_EQ(crane4->accessibleName(), "Your board 4: G");
    EXPECT_EQ(crane4->pos(), QPoint(myLetterLeft(4), kMyLetterTop));
    EXPECT_EQ(hand3->accessibleName(), "Your hand 3: empty");
    EXPECT_EQ(hand3->pos(), QPoint(extraLeft(3), kExtraTop));
}

TEST_F(GamePanelTest, CodeZeroOrBadCodeLooksLikeAClearedSlot) {
    ViewState v = midGame();
    panel.render(v);
    if (const QByteArray out = qgetenv("PLIMB_PANEL_PNG"); !out.isEmpty()) {
        ViewState shot = midGame();
        shot.startButtonVisible = true;
        panel.render(shot);
        panel.grab().save(QString::fromLocal8Bit(out));
        panel.render(v);
    }
    const QRect slot9(myLetterLeft(9), kMyLetterTop, 41, 41);
    const QImage cleared = panel.grab(slot9).toImage();

    v.myletter[9] = {true, 0, false};
    panel.render(v);
    EXPECT_NE(slotNamed(panel, "Your board 9: empty"), nullptr);
    EXPECT_EQ(panel.grab(slot9).toImage(), cleared);

    v.myletter[9].code = 99;
    panel.render(v);
    EXPECT_NE(slotNamed(panel, "Your board 9: empty"), nullptr);
    EXPECT_EQ(panel.grab(slot9).toImage(), cleared);

    v.myletter[9].code = 5;
    panel.render(v);
    EXPECT_NE(slotNamed(panel, "Your board 9: E"), nullptr);
    EXPECT_NE(panel.grab(slot9).toImage(), cleared);
}

TEST_F(GamePanelTest, SeatRowsFollowTheRowExchange) {
    ViewState v = midGame();
    QSignalSpy menu(&panel, &GamePanel::nameContextMenuRequested);
    const auto askMenuOn = [](QLabel* label) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 4), label->mapToGlobal(QPoint(3, 4)));
        QApplication::sendEvent(label, &event);
    };

    panel.render(v);
    QLabel* nearName = labelShowing(panel, "Margot");
    QLabel* farName = labelShowing(panel, "Klot");
    ASSERT_NE(nearName, nullptr);
    ASSERT_NE(farName, nullptr);
    EXPECT_EQ(nearName->pos(), QPoint(64, 95));
    EXPECT_EQ(farName->pos(), QPoint(65, 12));
    EXPECT_EQ(nearName->objectName(), "label_playername1");
    askMenuOn(nearName);
    askMenuOn(farName);
    ASSERT_EQ(menu.count(), 2);
    EXPECT_EQ(menu[0][0].toInt(), 1);
    EXPECT_EQ(menu[0][1].toPoint(), nearName->mapToGlobal(QPoint(3, 4)));
    EXPECT_EQ(menu[1][0].toInt(), 2);

    // A seat 2 client: the near row now stands for seat 2, and its turn marker lights beside
    // the near board.
    v.rowOfSeat1 = 1;
    v.rowOfSeat2 = 0;
    v.rows[0].turn = true;
    v.rows[1].turn = false;
    panel.render(v);
    askMenuOn(nearName);
    ASSERT_EQ(menu.count(), 3);
    EXPECT_EQ(menu[2][0].toInt(), 2);
    EXPECT_EQ(nearName->objectName(), "label_playername2");
    auto* turn2 = panel.findChild<QWidget*>("image_Turn2");
    auto* turn1 = panel.findChild<QWidget*>("image_Turn1");
    ASSERT_NE(turn2, nullptr);
    ASSERT_NE(turn1, nullptr);
    EXPECT_EQ(turn2->pos(), QPoint(42, 89));
    EXPECT_FALSE(turn2->isHidden());
    EXPECT_TRUE(turn1->isHidden());
    EXPECT_EQ(panel.findChild<QLabel*>("label_status2")->text(), "Steals Left: 3");
}

TEST_F(GamePanelTest, NamesAreShownAsPlainTextAndLongOnesAreShortened) {
    ViewState v;
    panel.render(v);
    QLabel* waiting = panel.findChild<QLabel*>("label_playername1");
    ASSERT_NE(waiting, nullptr);
    EXPECT_EQ(waiting->text(), "<Waiting>");
    EXPECT_EQ(waiting->textFormat(), Qt::PlainText);

    v.rows[0].name = std::string(500, 'W');
    panel.render(v);
    EXPECT_LT(waiting->text().size(), 500);
    EXPECT_EQ(waiting->accessibleName(), QString(500, 'W'));
}

TEST_F(GamePanelTest, TimerBarShowsItsWidthWithinTheFrame) {
    ViewState v = midGame();
    panel.render(v);
    auto* bar = panel.findChild<QWidget*>("image_timer");
    auto* frame = panel.findChild<QWidget*>("Image3");
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(frame->pos() + QPoint(1, 1), QSize(126, 21)));
    EXPECT_EQ(frame->size(), QSize(199, 23));
    EXPECT_EQ(panel.findChild<QLabel*>("label_turntime")->text(), "Time: 0:21");

    v.timerWidth = 0;
    panel.render(v);
    EXPECT_TRUE(bar->isHidden());
    v.timerWidth = 5000;
    panel.render(v);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->width(), kTimerBarWidth);
    v.timerWidth = -3;
    panel.render(v);
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(GamePanelTest, WordsWinnerAndStartButton) {
    ViewState v = midGame();
    panel.render(v);
    auto* words = panel.findChild<QListWidget*>("listbox_mywords");
    ASSERT_NE(words, nullptr);
    ASSERT_EQ(words->count(), 3);
    EXPECT_EQ(words->item(0)->text(), "crane : 7");
    EXPECT_EQ(words->item(2)->text(), "care : 6");
    EXPECT_EQ(panel.findChild<QLabel*>("label_mywords")->text(), "Your Words: (3)");
    v.mywords.insert(v.mywords.begin(), "cranes : 8");
    panel.render(v);
    ASSERT_EQ(words->count(), 4);
    EXPECT_EQ(words->item(0)->text(), "cranes : 8");

    auto* banner = panel.findChild<QWidget*>("panel_winner");
    auto* winner1 = panel.findChild<QLabel*>("label_winner1");
    auto* winner2 = panel.findChild<QLabel*>("label_winner2");
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isHidden());
    v.winnerVisible = true;
    v.winnerText = "Margot Wins!";
    panel.render(v);
    EXPECT_FALSE(banner->isHidden());
    EXPECT_EQ(winner1->text(), "Margot Wins!");
    EXPECT_EQ(winner2->text(), "Margot Wins!");
    EXPECT_EQ(winner2->pos(), winner1->pos() + QPoint(1, -1));

    auto* start = panel.findChild<QPushButton*>("button_start");
    ASSERT_NE(start, nullptr);
    EXPECT_TRUE(start->isHidden());
    v.startButtonVisible = true;
    panel.render(v);
    ASSERT_FALSE(start->isHidden());
    QSignalSpy started(&panel, &GamePanel::startClicked);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(started.count(), 1);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(start);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->text(QAccessible::Name), "Start Game");
}

TEST_F(GamePanelTest, WinnerBannerShowsTheWholeSentenceForAnyName) {
    const std::string sentence = " has won the game!";
    auto* winner1 = panel.findChild<QLabel*>("label_winner1");
    auto* winner2 = panel.findChild<QLabel*>("label_winner2");
    ASSERT_NE(winner1, nullptr);
    ViewState v;
    v.winnerVisible = true;
    for (const std::string& name :
         {std::string("Ann"), std::string("You"), std::string("Klot"),
          std::string("Maximilian Wolfeschlegel"), std::string(60, 'W'), std::string(5000, 'm')}) {
        v.winnerText = name + sentence;
        panel.render(v);
        const QString shown = winner1->text();
        EXPECT_TRUE(shown.endsWith(QString::fromStdString(sentence))) << name.size();
        EXPECT_TRUE(shown.startsWith(QString::fromStdString(name.substr(0, 1)))) << name.size();
        EXPECT_LE(winner1->fontMetrics().horizontalAdvance(shown), winner1->contentsRect().width())
            << "the text fits its label: " << name.size();
        EXPECT_EQ(winner2->text(), shown);
        EXPECT_EQ(winner2->font(), winner1->font());
        EXPECT_EQ(winner1->accessibleName().toStdString(), v.winnerText);
        if (name.size() <= 4) {
            EXPECT_EQ(shown.toStdString(), v.winnerText) << "a short name shows whole";
        }
    }
}

TEST_F(GamePanelTest, ChangesPlayBrieflyAndLeaveNothingRunning) {
    ViewState v = midGame();
    v.hisletter[1] = {true, 5, false};
    panel.render(v);
    panel.animate({{{SlotFamily::HisLetter, 1, SlotChangeKind::Arrived, 5},
                    {SlotFamily::MyLetter, 6, SlotChangeKind::Left, 19},
                    {SlotFamily::MyLetter, 2, SlotChangeKind::Scored, 18},
                    {SlotFamily::Extra, 9, SlotChangeKind::Left, 1}}, // no such slot: ignored
                   {}});
    std::vector<QVariantAnimation*> playing;
    for (SlotWidget* slot : {panel.hisletter(1), panel.myletter(6), panel.myletter(2)}) {
        ASSERT_NE(slot->animation(), nullptr);
        EXPECT_EQ(slot->animation()->state(), QAbstractAnimation::Running);
        EXPECT_LE(slot->animation()->duration(), 400);
        playing.push_back(slot->animation());
    }
    EXPECT_EQ(panel.myletter(3)->animation(), nullptr) << "an unchanged slot has nothing to play";

    // The ghost of the letter that left shows in its empty slot while it fades.
    panel.myletter(6)->animation()->setCurrentTime(SlotWidget::kFeedbackMs / 3);
    const QImage empty = panel.myletter(7)->grab().toImage();
    const QImage midway = panel.myletter(6)->grab().toImage();
    EXPECT_NE(midway, empty);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(playing.begin(), playing.end(), [](QVariantAnimation* a) {
                return a->state() == QAbstractAnimation::Stopped;
            });
        },
        30000));
    EXPECT_EQ(panel.myletter(6)->grab().toImage(), empty) << "the empty slot is empty again";
    for (QVariantAnimation* a : panel.findChildren<QVariantAnimation*>())
        EXPECT_NE(a->state(), QAbstractAnimation::Running) << "an idle panel runs no animation";
}

TEST(TileArtTest, ATileIsDrawnOnlyWhenASlotFirstShowsIt) {
    test::ensureApplication();
    const std::size_t before = TileArt::drawnCount();
    GamePanel fresh;
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh, 30000));
    const std::size_t atStart = TileArt::drawnCount();
    EXPECT_LE(atStart - before, 5u) << "at most the boards, markers and clock pictures; no letter tile";
    ViewState v;
    v.myletter[1] = {true, 23, false}; // W
    fresh.render(v);
    fresh.repaint();
    EXPECT_EQ(TileArt::drawnCount(), atStart + 1) << "the empty board at start drew no tile";
    v.hisletter[4] = {true, 23, false};
    fresh.render(v);
    fresh.repaint();
    EXPECT_EQ(TileArt::drawnCount(), atStart + 1) << "the second W comes from the cache";
}

TEST(TileArtTest, LettersAndPrintedValues) {
    EXPECT_EQ(TileArt::letterOf(1), 'A');
    EXPECT_EQ(TileArt::letterOf(26), 'Z');
    EXPECT_EQ(TileArt::letterOf(0), '\0');
    EXPECT_EQ(TileArt::letterOf(27), '\0');
    const int expected[] = {1, 3, 3, 1, 1, 5, 3, 3, 1, 5, 5, 1, 3, 1, 1, 3, 10, 1, 1, 1, 1, 7, 5, 10, 3, 10};
    for (int code = 1; code <= 26; ++code)
        EXPECT_EQ(TileArt::pointsOf(code), expected[code - 1]) << code;
    EXPECT_EQ(TileArt::pointsOf(-1), 0);
}

TEST(TileArtTest, PicturesAreSharpAtTheirRatioAndCached) {
    test::ensureApplication();
    TileArt art;
    const QPixmap q2 = art.tile(17, 2.0);
    EXPECT_EQ(q2.size(), QSize(82, 82));
    EXPECT_EQ(q2.devicePixelRatio(), 2.0);
    EXPECT_EQ(art.tile(17, 2.0).cacheKey(), q2.cacheKey());
    EXPECT_EQ(TileArt().tile(17, 2.0).cacheKey(), q2.cacheKey()) << "one cache for every window";
    EXPECT_NE(art.tile(17, 1.0).cacheKey(), q2.cacheKey());
    EXPECT_EQ(art.wordback(1.5).size(), QSize(609, 105));
    EXPECT_EQ(art.timerFrame(1.0).size(), QSize(199, 23));

    const QImage blank = art.tile(0, 1.0).toImage();
    EXPECT_EQ(blank.pixelColor(0, 40), QColor(Qt::white));
    EXPECT_EQ(blank.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_EQ(art.tile(-4, 1.0).cacheKey(), art.tile(0, 1.0).cacheKey());
    EXPECT_EQ(art.tile(27, 1.0).cacheKey(), art.tile(0, 1.0).cacheKey());

    // A broken screen ratio falls back to a sane size instead of a huge or empty pixmap.
    EXPECT_EQ(art.tile(1, 0.0).size(), QSize(41, 41));
    EXPECT_EQ(art.tile(1, 1e9).size(), QSize(328, 328));
}

} // namespace
} // namespace plimb
