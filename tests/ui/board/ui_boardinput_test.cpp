// The board played by keys, by dragging and through the accessibility tree, on the real panel
// wired to a real client model the way the main window wires them: every gesture must send
// exactly what its clicks send, and nothing while it is not this player's move.
#include "support/qtapp.h"
#include "ui/board/boardbinding.h"
#include "ui/board/gamepanel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "core/client/fakesink.h"

namespace plimb {
namespace {

using Lines = std::vector<std::string>;

// Seat 1 ("Me") against Bo: board C R A N E, Bo's board _ Q U I Z, hand S T O M X K.
struct Table {
    test::ClientFixture game;
    GamePanel panel;

    explicit Table(int turnOf) {
        game.seatAs(1);
        game.startGame();
        game.feed(build::letters(1, {{1, 19}, {2, 20}, {3, 15}, {4, 13}, {5, 24}, {6, 11}}));
        game.feed(build::placetheletters({{1, 1, 3},
                                          {1, 2, 18},
                                          {1, 3, 1},
                                          {1, 4, 14},
                                          {1, 5, 5},
                                          {2, 2, 17},
                                          {2, 3, 21},
                                          {2, 4, 9},
                                          {2, 5, 26}}));
        game.turnOf(turnOf);
        bindBoardInput(panel, game.model.input(), [this] { refresh(); });
        refresh();
        panel.show();
        panel.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&panel, 30000));
        panel.focusSlot()->setFocus();
    }
    void refresh() {
        panel.render(game.model.view());
        panel.animate(game.model.takeFeedback());
    }
    const Lines& sent() const { return game.sink.sent; }

    // Keys go where the keyboard's focus is, as typed.
    void keys(std::initializer_list<Qt::Key> list) {
        for (Qt::Key k : list)
            QTest::keyClick(QApplication::focusWidget(), k);
    }
    void type(char letter) { QTest::keyClick(QApplication::focusWidget(), letter); }

    // A left-button drag from one slot to a point of the panel, the pointer grabbed by the slot
    // it was pressed on, as the mouse does.
    void drag(SlotWidget* from, QPoint to) {
        QTest::mousePress(from, Qt::LeftButton);
        const QPoint start = from->mapToParent(from->rect().center());
        for (int step = 1; step <= 4; ++step) {
            const QPoint at = start + (to - start) * step / 4;
            QTest::mouseMove(from, from->mapFromParent(at));
        }
        QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFromParent(to));
    }
    void drag(SlotWidget* from, SlotWidget* to) { drag(from, to->geometry().center()); }
};

struct Gesture {
    const char* name;
    std::function<void(Table&)> play;               // keys or a drag on the panel
    std::function<void(ClientModel&)> sameAsClicks; // the clicks that make the same move
};

void click(ClientModel& m, SlotFamily family, int n, MouseButton b = MouseButton::Left) {
    m.input().click(family, n, b);
}
constexpr auto My = SlotFamily::MyLetter;
constexpr auto Hand = SlotFamily::Extra;
constexpr auto His = SlotFamily::HisLetter;

const std::vector<Gesture>& gestures() {
    static const std::vector<Gesture> rows = {
        // The focus starts on the first hand tile.
        {"Enter picks, Up goes to the board, Home/Right walk it, Enter places",
         [](Table& t) {
             t.keys({Qt::Key_Right, Qt::Key_Return, Qt::Key_Up, Qt::Key_Home, Qt::Key_Right, Qt::Key_Right,
                     Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Enter});
         },
         [](ClientModel& m) { click(m, Hand, 2), click(m, My, 7); }},
        {"a typed letter picks the hand tile showing it, typed again keeps it; Space clicks",
         [](Table& t) {
             t.type('x'), t.type('X'), t.keys({Qt::Key_Up, Qt::Key_End, Qt::Key_Space});
         },
         [](ClientModel& m) { click(m, Hand, 5), click(m, My, 10); }},
        {"Delete throws a hand letter away, Backspace removes a board letter",
         [](Table& t) {
             t.keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Up, Qt::Key_Home, Qt::Key_Right,
                     Qt::Key_Backspace});
         },
         [](ClientModel& m) { click(m, Hand, 3, MouseButton::Right), click(m, My, 2, MouseButton::Right); }},
        {"on the own board a letter picks the board tile: a swap",
         [](Table& t) {
             t.keys({Qt::Key_Up}), t.type('R'), t.keys({Qt::Key_Right, Qt::Key_Return});
         },
         [](ClientModel& m) { click(m, My, 2), click(m, My, 3); }},
        {"a steal: Up twice to the opponent's board, Enter, Down, Enter",
         [](Table& t) {
             t.keys({Qt::Key_Up, Qt::Key_Up, Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return,
                     Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
         },
         [](ClientModel& m) { click(m, His, 3), click(m, My, 6); }},
        {"Escape drops a picked hand tile, so Enter on the board picks instead of placing",
         [](Table& t) {
             t.keys({Qt::Key_Return, Qt::Key_Escape, Qt::Key_Up, Qt::Key_Return, Qt::Key_Return});
         },
         [](ClientModel& m) { click(m, My, 2), click(m, My, 2); }},
        {"Escape drops a picked board tile, which no click can",
         [](Table& t) {
             t.keys(
                 {Qt::Key_Up, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Right, Qt::Key_Return, Qt::Key_Return});
         },
         [](ClientModel& m) { click(m, My, 3), click(m, My, 3); }},
        {"a board letter typed while a hand tile is picked picks that board tile, placing nothing",
         [](Table& t) {
             t.keys({Qt::Key_Return, Qt::Key_Up}), t.type('n'), t.keys({Qt::Key_Right, Qt::Key_Return});
         },
         [](ClientModel& m) { click(m, My, 4), click(m, My, 5); }},
        {"drag a hand tile onto the board", [](Table& t) { t.drag(t.panel.extra(2), t.panel.myletter(7)); },
         [](ClientModel& m) { click(m, Hand, 2), click(m, My, 7); }},
        {"drag the picked hand tile onto the board",
         [](Table& t) {
             t.panel.extra(2)->act(MouseButton::Left), t.drag(t.panel.extra(2), t.panel.myletter(7));
         },
         [](ClientModel& m) { click(m, Hand, 2), click(m, My, 7); }},
        {"drag a board tile onto another slot",
         [](Table& t) { t.drag(t.panel.myletter(1), t.panel.myletter(8)); },
         [](ClientModel& m) { click(m, My, 1), click(m, My, 8); }},
        {"drag the opponent's tile onto the own board",
         [](Table& t) { t.drag(t.panel.hisletter(4), t.panel.myletter(6)); },
         [](ClientModel& m) { click(m, His, 4), click(m, My, 6); }},
        {"drag the picked opponent's tile onto the own board",
         [](Table& t) {
             t.panel.hisletter(4)->act(MouseButton::Left);
             t.drag(t.panel.hisletter(4), t.panel.myletter(6));
         },
         [](ClientModel& m) { click(m, His, 4), click(m, My, 6); }},
        {"drag a hand tile onto the bin",
         [](Table& t) { t.drag(t.panel.extra(5), GamePanel::kTrashArea.center()); },
         [](ClientModel& m) { click(m, Hand, 5), click(m, Hand, 5, MouseButton::Right); }},
        {"drag a board tile onto the bin",
         [](Table& t) { t.drag(t.panel.myletter(2), GamePanel::kTrashArea.center()); },
         [](ClientModel& m) { click(m, My, 2), click(m, My, 2, MouseButton::Right); }},
        {"a press on a board tile with a hand tile picked places it; its drag then does nothing",
         [](Table& t) {
             t.panel.extra(1)->act(MouseButton::Left), t.drag(t.panel.myletter(1), t.panel.myletter(9));
         },
         [](ClientModel& m) { click(m, Hand, 1), click(m, My, 1); }},
        {"a drop that is no move does nothing: onto the hand, onto the opponent's board, onto the bin",
         [](Table& t) {
             t.drag(t.panel.extra(2), t.panel.extra(4));
             t.drag(t.panel.extra(3), t.panel.hisletter(3));
             t.drag(t.panel.hisletter(2), GamePanel::kTrashArea.center());
         },
         [](ClientModel& m) { click(m, Hand, 2), click(m, Hand, 3); }},
    };
    return rows;
}

class BoardInputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
};

TEST_F(BoardInputTest, EveryGestureSendsWhatItsClicksSend) {
    for (const Gesture& g : gestures()) {
        Table byClicks(1);
        g.sameAsClicks(byClicks.game.model);

        Table played(1);
        g.play(played);
        EXPECT_EQ(played.sent(), byClicks.sent()) << g.name;
        EXPECT_EQ(played.game.model.input().picked(SlotFamily::Extra),
                  byClicks.game.model.input().picked(SlotFamily::Extra))
            << g.name;
        EXPECT_EQ(played.game.model.input().picked(SlotFamily::MyLetter),
                  byClicks.game.model.input().picked(SlotFamily::MyLetter))
            << g.name;
        EXPECT_EQ(played.game.model.input().picked(SlotFamily::HisLetter),
                  byClicks.game.model.input().picked(SlotFamily::HisLetter))
            << g.name;
        for (const SlotWidget* slot : played.panel.findChildren<SlotWidget*>())
            EXPECT_FALSE(slot->dropTarget()) << g.name;
    }
}

TEST_F(BoardInputTest, NoGestureSendsAnythingWhileItIsNotMyMove) {
    for (const Gesture& g : gestures()) {
        Table theirs(2);
        g.play(theirs);
        EXPECT_EQ(theirs.sent(), Lines{}) << g.name;
        EXPECT_FALSE(theirs.game.model.input().picked(SlotFamily::Extra) ||
                     theirs.game.model.input().picked(SlotFamily::MyLetter) ||
                     theirs.game.model.input().picked(SlotFamily::HisLetter))
            << g.name;
    }
}

TEST_F(BoardInputTest, ArrowsStayInTheirRowAndTheFocusMovesByKeysOnly) {
    Table t(1);
    t.keys({Qt::Key_Left, Qt::Key_Left, Qt::Key_Down});
    EXPECT_EQ(t.panel.focusSlot(), t.panel.extra(1)) << "the edges hold";
    t.keys({Qt::Key_End, Qt::Key_Up});
    EXPECT_EQ(t.panel.focusSlot(), t.panel.myletter(8)) << "the board slot standing nearest above hand 6";
    t.keys({Qt::Key_Up, Qt::Key_Up, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    EXPECT_EQ(t.panel.focusSlot(), t.panel.hisletter(10));
    EXPECT_TRUE(t.panel.hisletter(10)->hasFocus());
    t.type('q');
    EXPECT_EQ(t.panel.focusSlot(), t.panel.hisletter(10)) << "no Q in the hand: the focus stays";
    t.type('k');
    EXPECT_EQ(t.panel.focusSlot(), t.panel.extra(6));

    // A mouse click leaves the focus where it is unless the board has it already.
    t.panel.extra(6)->clearFocus();
    QTest::mouseClick(t.panel.myletter(3), Qt::RightButton);
    EXPECT_EQ(t.panel.focusSlot(), t.panel.extra(6));
    EXPECT_FALSE(t.panel.myletter(3)->hasFocus());
}

// ---- the accessibility tree ----

std::vector<QAccessibleInterface*> slotChildren(GamePanel& panel) {
    std::vector<QAccessibleInterface*> out;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&panel);
    for (int i = 0; i < board->childCount(); ++i)
        if (QAccessibleInterface* child = board->child(i);
            child && qobject_cast<SlotWidget*>(child->object()))
            out.push_back(child);
    return out;
}

TEST_F(BoardInputTest, SlotsAreButtonsInReadingOrderWhoseActionsAreTheClicks) {
    Table t(1);
    const std::vector<QAccessibleInterface*> tiles = slotChildren(t.panel);
    ASSERT_EQ(tiles.size(), 26u);
    QStringList names;
    for (QAccessibleInterface* s : tiles) {
        names << s->text(QAccessible::Name);
        EXPECT_EQ(s->role(), QAccessible::Button);
        EXPECT_TRUE(s->state().focusable);
    }
    EXPECT_EQ(names.mid(0, 3),
              (QStringList{"Opponent's board 1: empty", "Opponent's board 2: Q", "Opponent's board 3: U"}));
    EXPECT_EQ(names.mid(9, 3),
              (QStringList{"Opponent's board 10: empty", "Your board 1: C", "Your board 2: R"}));
    EXPECT_EQ(names.mid(19, 3), (QStringList{"Your board 10: empty", "Your hand 1: S", "Your hand 2: T"}));
    EXPECT_EQ(names.last(), "Your hand 6: K");

    const auto actions = [](QAccessibleInterface* s) { return s->actionInterface()->actionNames(); };
    const QString press = QAccessibleActionInterface::pressAction();
    const QString focus = QAccessibleActionInterface::setFocusAction();
    EXPECT_EQ(actions(tiles[2]), (QStringList{press, focus})) << "a right click does nothing there";
    EXPECT_EQ(actions(tiles[13]), (QStringList{press, "Remove", focus}));
    EXPECT_EQ(actions(tiles[24]), (QStringList{press, "Throw away", focus}));
    EXPECT_EQ(tiles[13]->actionInterface()->keyBindingsForAction("Remove"), QStringList{"Delete"});

    // A steal and a throw-away made through the tree alone.
    tiles[3]->actionInterface()->doAction(press);         // opponent's 4: I
    tiles[15]->actionInterface()->doAction(press);        // own 6
    tiles[25]->actionInterface()->doAction("Throw away"); // hand 6
    tiles[12]->actionInterface()->doAction(focus);        // own 3
    EXPECT_EQ(t.sent(), (Lines{build::stealinghisletterRequest(1, 4, 6), build::discardextraRequest(1, 6)}));
    EXPECT_TRUE(t.panel.myletter(3)->hasFocus());
    EXPECT_EQ(t.panel.focusSlot(), t.panel.myletter(3));
}

TEST_F(BoardInputTest, SeatIndicatorsAreNamedWithTheirPlayer) {
    Table t(2);
    t.game.feed(build::formedword(1, "crane", 7, 7));
    t.game.feed(build::justwatching(2, 1));
    t.refresh();
    const auto named = [&](const QString& name) {
        for (QWidget* w : t.panel.findChildren<QWidget*>())
            if (w->accessibleName() == name) return w;
        return static_cast<QWidget*>(nullptr);
    };
    ASSERT_NE(named("Me's score: 7"), nullptr);
    EXPECT_EQ(named("Me's score: 7")->objectName(), "label_score1");
    EXPECT_EQ(named("Bo's score: 0")->objectName(), "label_score2");
    EXPECT_EQ(named("Bo's steals left: 5")->objectName(), "label_status2");
    ASSERT_NE(named("Bo's turn"), nullptr);
    EXPECT_TRUE(named("Bo's turn")->isVisible());
    EXPECT_FALSE(named("Me's turn")->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(named("Bo's turn"))->role(), QAccessible::Graphic);
    ASSERT_NE(named("Bo is just watching"), nullptr);
    EXPECT_TRUE(named("Bo is just watching")->isVisible());
}

// Counts the announcements: each one shows the announcer anew.
struct Announcements : QObject {
    explicit Announcements(QWidget* announcer) : announcer(announcer) { announcer->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) said << announcer->accessibleName();
        return false;
    }
    QWidget* announcer;
    QStringList said;
};

TEST_F(BoardInputTest, EachTurnsNewsIsAnnouncedOnceAsAWhole) {
    Table t(2);
    Announcements heard(t.panel.announcer());
    const auto said = [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !t.panel.announcementPending(); }, 30000));
        return heard.said;
    };
    EXPECT_EQ(QAccessible::queryAccessibleInterface(t.panel.announcer())->role(), QAccessible::Notification);
    for (int i = 0; i < 5; ++i)
        t.refresh();
    EXPECT_FALSE(t.panel.announcementPending());
    EXPECT_EQ(heard.said, QStringList{}) << "redrawing an unchanged board says nothing";

    // Bo places Q on his board and his word scores: one turn, one announcement.
    t.game.feed(build::placemyletter(2, 3, 6, 17));
    t.refresh();
    t.refresh();
    t.game.feed(build::formedword(2, "quiz", 22, 22));
    t.refresh();
    EXPECT_EQ(said(), QStringList{"Bo put Q on 6; the board reads QUIZQ. Bo scored QUIZ, score 22"});
    EXPECT_EQ(t.panel.findChild<QLabel*>("label_score2")->accessibleName(), "Bo's score: 22");
    EXPECT_EQ(t.panel.hisletter(6)->accessibleName(), "Opponent's board 6: Q");

    // A rearrangement and a steal from my board.
    heard.said.clear();
    t.game.feed(build::tradingmyletter(2, 2, 0, 9, 17));
    t.refresh();
    t.game.feed(build::stoldletter(2, 1, 10, 1, 3));
    t.refresh();
    EXPECT_EQ(
        said(),
        QStringList{"Bo moved Q from 2 to 9, stole C from your board 1 to 10; the board reads UIZQ  QC"});

    // My own move is not announced (I hear my slot's new name); my word and the winner are.
    heard.said.clear();
    t.game.turnOf(1);
    t.refresh();
    t.panel.extra(1)->act(MouseButton::Left);
    t.panel.myletter(6)->act(MouseButton::Left);
    t.game.feed(build::placemyletter(1, 1, 6, 19));
    t.refresh();
    t.game.feed(build::formedword(1, "ranes", 5, 5));
    t.refresh();
    t.game.feed(build::winner(1));
    t.refresh();
    t.refresh();
    EXPECT_EQ(said(), QStringList{"Me scored RANES, score 5. Me has won the game!"});
    t.refresh();
    EXPECT_FALSE(t.panel.announcementPending()) << "the banner stays up without being said again";
}

} // namespace
} // namespace plimb
