#include <gtest/gtest.h>

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

namespace {
using Lines = std::vector<std::string>;

struct MyTurn : ClientFixture {
    MyTurn() {
        seatAs(1);
        turnOf(1);
    }
    const ViewState& v() const { return model.view(); }
};
} // namespace

TEST(MoveInput, FromNothingSelected) {
    MyTurn t;
    t.model.myletterMouseDown(4, MouseButton::Left);
    EXPECT_EQ(t.model.selectedBoard(), 4);
    EXPECT_EQ(t.v().myletter[4].top, kMyLetterSelectedTop);
    t.model.myletterMouseDown(4, MouseButton::Left);
    EXPECT_EQ(t.sink.sent, Lines{"CMD_tradingmyletter+1+4+4+"}) << "same slot twice is still sent";
    EXPECT_EQ(t.model.selectedBoard(), 0);
    EXPECT_EQ(t.v().myletter[4].top, kMyLetterSelectedTop);
    t.model.myletterMouseDown(3, MouseButton::Right);
    t.model.extraMouseDown(2, MouseButton::Right);
    t.model.myletterMouseDown(3, MouseButton::Other);
    t.model.extraMouseDown(2, MouseButton::Other);
    EXPECT_EQ(t.sink.sent,
              (Lines{"CMD_tradingmyletter+1+4+4+", "CMD_discardletter+1+3+", "CMD_discardextra+1+2+"}));
}

TEST(MoveInput, HandSelected) {
    MyTurn t;
    t.model.extraMouseDown(2, MouseButton::Left);
    EXPECT_EQ(t.v().extra[2].top, kExtraSelectedTop);
    t.model.extraMouseDown(2, MouseButton::Left);
    EXPECT_EQ(t.model.selectedHand(), 0) << "second click deselects";
    EXPECT_EQ(t.v().extra[2].top, kExtraTop);

    t.model.extraMouseDown(2, MouseButton::Left);
    t.model.extraMouseDown(5, MouseButton::Left);
    EXPECT_EQ(t.model.selectedHand(), 5);
    EXPECT_EQ(t.v().extra[2].top, kExtraTop);
    t.model.myletterMouseDown(1, MouseButton::Right);
    EXPECT_EQ(t.model.selectedHand(), 5) << "right click keeps the selection";
    t.model.myletterMouseDown(7, MouseButton::Left);
    EXPECT_EQ(t.sink.sent.back(), "CMD_placemyletter+1+5+7+");
    EXPECT_EQ(t.model.selectedHand(), 0);
    EXPECT_EQ(t.v().extra[5].top, kExtraTop);

    t.model.extraMouseDown(1, MouseButton::Left);
    t.model.hisletterClick(3);
    EXPECT_EQ(t.model.selectedHand(), 0) << "the hand tile drops back";
    EXPECT_EQ(t.v().extra[1].top, kExtraTop);
    EXPECT_EQ(t.model.selectedOpponent(), 3);
}

TEST(MoveInput, BoardAndOpponentSelected) {
    MyTurn t;
    t.model.myletterMouseDown(2, MouseButton::Left);
    t.model.extraMouseDown(1, MouseButton::Left);
    EXPECT_EQ(t.model.selectedBoard(), 0);
    EXPECT_EQ(t.v().myletter[2].top, kMyLetterTop);
    EXPECT_EQ(t.model.selectedHand(), 1);

    t.model.hisletterClick(6);
    t.model.extraMouseDown(4, MouseButton::Right);
    EXPECT_EQ(t.model.selectedOpponent(), 6);
    t.model.hisletterClick(6);
    EXPECT_EQ(t.model.selectedOpponent(), 0);
    EXPECT_EQ(t.v().hisletter[6].top, kHisLetterTop);

    t.model.hisletterClick(6);
    t.model.hisletterClick(8);
    EXPECT_EQ(t.v().hisletter[6].top, kHisLetterTop);
    t.model.myletterMouseDown(9, MouseButton::Left);
    EXPECT_EQ(t.sink.sent.back(), "CMD_stealinghisletter+1+8+9+");
    EXPECT_EQ(t.model.selectedOpponent(), 0);
    EXPECT_EQ(t.v().hisletter[8].top, kHisLetterSelectedTop) << "stays shifted until the answer";
    t.feed(build::toomany(1));
    EXPECT_EQ(t.v().hisletter[8].top, kHisLetterTop);
}

TEST(MoveInput, GateClosedMeansNoEffect) {
    auto expectInert = [](ClientFixture& c) {
        c.model.myletterMouseDown(1, MouseButton::Left);
        c.model.myletterMouseDown(1, MouseButton::Right);
        c.model.extraMouseDown(1, MouseButton::Left);
        c.model.extraMouseDown(1, MouseButton::Right);
        c.model.hisletterClick(1);
        EXPECT_TRUE(c.sink.sent.empty());
        EXPECT_EQ(c.model.selectedHand() + c.model.selectedBoard() + c.model.selectedOpponent(), 0);
        EXPECT_EQ(c.model.view().extra[1].top, kExtraTop);
    };
    MyTurn notMine;
    notMine.turnOf(2);
    expectInert(notMine);

    MyTurn watching;
    watching.feed(build::justwatching(1, 1));
    expectInert(watching);

    ClientFixture spy;
    spy.seatAs(3);
    spy.turnOf(1);
    expectInert(spy);

    MyTurn outOfRange;
    outOfRange.model.myletterMouseDown(11, MouseButton::Right);
    outOfRange.model.extraMouseDown(7, MouseButton::Right);
    outOfRange.model.hisletterClick(0);
    EXPECT_TRUE(outOfRange.sink.sent.empty());
}

TEST(MoveInput, NotLoggedInSelectsButSendsNothing) {
    ClientFixture c; // seat 0 and current player 0: the gate holds before the login
    c.model.extraMouseDown(3, MouseButton::Left);
    EXPECT_EQ(c.model.selectedHand(), 3);
    c.model.myletterMouseDown(5, MouseButton::Left);
    c.model.myletterMouseDown(5, MouseButton::Right);
    EXPECT_EQ(c.model.selectedHand(), 0);
    EXPECT_TRUE(c.sink.sent.empty());
}
