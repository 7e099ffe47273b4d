#include "support/qtapp.h"
#include "ui/board/tgamestart.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace plimb {
namespace {

class TgamestartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plimb::test::ensureApplication(); }
    void clickTimes(QToolButton* button, int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QLineEdit* edit(const char* name) { return window.findChild<QLineEdit*>(name); }

    Tgamestart window;
};

TEST_F(TgamestartTest, OpensWithTheLayoutsValues) {
    EXPECT_EQ(window.windowTitle(), "Plimb - Game Start");
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::Tool));
    ASSERT_NE(edit("edit_playtoscore"), nullptr);
    EXPECT_EQ(edit("edit_playtoscore")->text(), "200");
    EXPECT_EQ(edit("edit_creationtime")->text(), "30");
    EXPECT_EQ(edit("edit_steals")->text(), "5");
    EXPECT_TRUE(edit("edit_steals")->isReadOnly());
    EXPECT_TRUE(window.findChild<QCheckBox*>("checkbox_unlimited")->isChecked());
}

TEST_F(TgamestartTest, ArrowsStepAndStopAtTheLimits) {
    UpDownField* playto = window.playToScoreField();
    clickTimes(playto->upButton(), 1);
    EXPECT_EQ(window.playToScoreText(), "250");
    clickTimes(playto->upButton(), 40);
    EXPECT_EQ(window.playToScoreText(), "1000") << "no thousands separator, no wrap-around";
    clickTimes(playto->downButton(), 40);
    EXPECT_EQ(window.playToScoreText(), "100");

    UpDownField* time = window.timePerTurnField();
    clickTimes(time->downButton(), 1);
    EXPECT_EQ(window.timePerTurnText(), "25");
    clickTimes(time->downButton(), 5);
    EXPECT_EQ(window.timePerTurnText(), "20");
    clickTimes(time->upButton(), 30);
    EXPECT_EQ(window.timePerTurnText(), "120");

    UpDownField* steals = window.stealsField();
    clickTimes(steals->downButton(), 9);
    EXPECT_EQ(window.stealsText(), "0");
    clickTimes(steals->upButton(), 25);
    EXPECT_EQ(window.stealsText(), "20");

    // The keyboard arrows in the field do the same.
    QTest::keyClick(edit("edit_steals"), Qt::Key_Down);
    EXPECT_EQ(window.stealsText(), "19");
}

TEST_F(TgamestartTest, StartSendsTheFieldTextsAsTheyStandAndHides) {
    window.show();
    QSignalSpy spy(&window, &Tgamestart::startRequested);
    clickTimes(window.stealsField()->upButton(), 2);
    QTest::mouseClick(window.findChild<QPushButton*>("button_start"), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toString(), "30");
    EXPECT_EQ(spy[0][1].toString(), "200");
    EXPECT_EQ(spy[0][2].toString(), "7") << "the steals text travels even when unlimited is ticked";
    EXPECT_TRUE(spy[0][3].toBool());
    EXPECT_TRUE(window.isHidden());

    // Values restored from the settings file stand as read, in range or not.
    window.setPlayToScoreText("5000");
    window.setTimePerTurnText("7");
    window.setStealsText("abc");
    window.setUnlimited(false);
    window.showOver(nullptr);
    EXPECT_EQ(edit("edit_playtoscore")->text(), "5000");
    QTest::mouseClick(window.findChild<QPushButton*>("button_start"), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][0].toString(), "7");
    EXPECT_EQ(spy[1][1].toString(), "5000");
    EXPECT_EQ(spy[1][2].toString(), "abc");
    EXPECT_FALSE(spy[1][3].toBool());
    EXPECT_FALSE(window.unlimited());

    // An arrow brings an out-of-range or unreadable value back inside the range.
    clickTimes(window.playToScoreField()->upButton(), 1);
    EXPECT_EQ(window.playToScoreText(), "1000");
    clickTimes(window.timePerTurnField()->downButton(), 1);
    EXPECT_EQ(window.timePerTurnText(), "20");
    clickTimes(window.stealsField()->upButton(), 1);
    EXPECT_EQ(window.stealsText(), "1");
}

TEST_F(TgamestartTest, PlayedFromTheKeyboardAlone) {
    window.showOver(nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 30000));
    QSignalSpy spy(&window, &Tgamestart::startRequested);
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    };
    edit("edit_playtoscore")->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(window.playToScoreText(), "100");
    QTest::keyClicks(QApplication::focusWidget(), "999");
    EXPECT_EQ(window.playToScoreText(), "100") << "the fields stay read-only";
    key(Qt::Key_Tab);
    key(Qt::Key_Up);
    EXPECT_EQ(window.timePerTurnText(), "35");
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.findChild<QCheckBox*>("checkbox_unlimited"));
    key(Qt::Key_Space);
    EXPECT_FALSE(window.unlimited());

    // Escape closes without starting; Enter, wherever the focus is, starts.
    key(Qt::Key_Escape);
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(spy.count(), 0);
    window.showOver(nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 30000));
    edit("edit_steals")->setFocus();
    key(Qt::Key_Return);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toString(), "35");
    EXPECT_EQ(spy[0][1].toString(), "100");
    EXPECT_FALSE(spy[0][3].toBool());
    EXPECT_TRUE(window.isHidden());
}

} // namespace
} // namespace plimb
