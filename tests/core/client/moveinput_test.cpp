#include <array>
#include <gtest/gtest.h>

#include "core/client/fakesink.h"
#include "core/client/moveintent.h"

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
    t.model.input().click(SlotFamily::MyLetter, 4, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::MyLetter), 4);
    EXPECT_TRUE(t.v().myletter[4].raised);
    t.model.input().click(SlotFamily::MyLetter, 4, MouseButton::Left);
    EXPECT_EQ(t.sink.sent, Lines{"CMD_tradingmyletter+1+4+4+"}) << "same slot twice is still sent";
    EXPECT_EQ(t.model.input().picked(SlotFamily::MyLetter), 0);
    EXPECT_TRUE(t.v().myletter[4].raised);
    t.model.input().click(SlotFamily::MyLetter, 3, MouseButton::Right);
    t.model.input().click(SlotFamily::Extra, 2, MouseButton::Right);
    t.model.input().click(SlotFamily::MyLetter, 3, MouseButton::Other);
    t.model.input().click(SlotFamily::Extra, 2, MouseButton::Other);
    EXPECT_EQ(t.sink.sent,
              (Lines{"CMD_tradingmyletter+1+4+4+", "CMD_discardletter+1+3+", "CMD_discardextra+1+2+"}));
}

TEST(MoveInput, HandSelected) {
    MyTurn t;
    t.model.input().click(SlotFamily::Extra, 2, MouseButton::Left);
    EXPECT_TRUE(t.v().extra[2].raised);
    t.model.input().click(SlotFamily::Extra, 2, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 0) << "second click deselects";
    EXPECT_FALSE(t.v().extra[2].raised);

    t.model.input().click(SlotFamily::Extra, 2, MouseButton::Left);
    t.model.input().click(SlotFamily::Extra, 5, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 5);
    EXPECT_FALSE(t.v().extra[2].raised);
    t.model.input().click(SlotFamily::MyLetter, 1, MouseButton::Right);
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 5) << "right click keeps the selection";
    t.model.input().click(SlotFamily::MyLetter, 7, MouseButton::Left);
    EXPECT_EQ(t.sink.sent.back(), "CMD_placemyletter+1+5+7+");
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 0);
    EXPECT_FALSE(t.v().extra[5].raised);

    t.model.input().click(SlotFamily::Extra, 1, MouseButton::Left);
    t.model.input().click(SlotFamily::HisLetter, 3, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 0) << "the hand tile drops back";
    EXPECT_FALSE(t.v().extra[1].raised);
    EXPECT_EQ(t.model.input().picked(SlotFamily::HisLetter), 3);
}

TEST(MoveInput, BoardAndOpponentSelected) {
    MyTurn t;
    t.model.input().click(SlotFamily::MyLetter, 2, MouseButton::Left);
    t.model.input().click(SlotFamily::Extra, 1, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::MyLetter), 0);
    EXPECT_FALSE(t.v().myletter[2].raised);
    EXPECT_EQ(t.model.input().picked(SlotFamily::Extra), 1);

    t.model.input().click(SlotFamily::HisLetter, 6, MouseButton::Left);
    t.model.input().click(SlotFamily::Extra, 4, MouseButton::Right);
    EXPECT_EQ(t.model.input().picked(SlotFamily::HisLetter), 6);
    t.model.input().click(SlotFamily::HisLetter, 6, MouseButton::Left);
    EXPECT_EQ(t.model.input().picked(SlotFamily::HisLetter), 0);
    EXPECT_FALSE(t.v().hisletter[6].raised);

    t.model.input().click(SlotFamily::HisLetter, 6, MouseButton::Left);
    t.model.input().click(SlotFamily::HisLetter, 8, MouseButton::Left);
    EXPECT_FALSE(t.v().hisletter[6].raised);
    t.model.input().click(SlotFamily::MyLetter, 9, MouseButton::Left);
    EXPECT_EQ(t.sink.sent.back(), "CMD_stealinghisletter+1+8+9+");
    EXPECT_EQ(t.model.input().picked(SlotFamily::HisLetter), 0);
    EXPECT_TRUE(t.v().hisletter[8].raised) << "stays shifted until the answer";
    t.feed(build::toomany(1));
    EXPECT_FALSE(t.v().hisletter[8].raised);
}

TEST(MoveInput, GateClosedMeansNoEffect) {
    auto expectInert = [](ClientFixture& c) {
        c.model.input().click(SlotFamily::MyLetter, 1, MouseButton::Left);
        c.model.input().click(SlotFamily::MyLetter, 1, MouseButton::Right);
        c.model.input().click(SlotFamily::Extra, 1, MouseButton::Left);
        c.model.input().click(SlotFamily::Extra, 1, MouseButton::Right);
        c.model.input().click(SlotFamily::HisLetter, 1, MouseButton::Left);
        EXPECT_TRUE(c.sink.sent.empty());
        EXPECT_EQ(c.model.input().picked(SlotFamily::Extra) + c.model.input().picked(SlotFamily::MyLetter) +
                      c.model.input().picked(SlotFamily::HisLetter),
                  0);
        EXPECT_FALSE(c.model.view().extra[1].raised);
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
    outOfRange.model.input().click(SlotFamily::MyLetter, 11, MouseButton::Right);
    outOfRange.model.input().click(SlotFamily::Extra, 7, MouseButton::Right);
    outOfRange.model.input().click(SlotFamily::HisLetter, 0, MouseButton::Left);
    EXPECT_TRUE(outOfRange.sink.sent.empty());
}

TEST(MoveInput, NotLoggedInSelectsButSendsNothing) {
    ClientFixture c; // seat 0 and current player 0: the gate holds before the login
    c.model.input().click(SlotFamily::Extra, 3, MouseButton::Left);
    EXPECT_EQ(c.model.input().picked(SlotFamily::Extra), 3);
    c.model.input().click(SlotFamily::MyLetter, 5, MouseButton::Left);
    c.model.input().click(SlotFamily::MyLetter, 5, MouseButton::Right);
    EXPECT_EQ(c.model.input().picked(SlotFamily::Extra), 0);
    EXPECT_TRUE(c.sink.sent.empty());
}

// Every gesture of the board comes down to these intents. Each row starts on my turn with a steal
// of the opponent's 8 waiting for its answer (that tile still shifted); and again once I picked
// hand tile 1 and then chose to just watch, when nothing may change.
TEST(MoveInput, IntentsPickTheirTileThenAskAndAreRefusedOutsideMyMove) {
    using K = MoveIntentKind;
    using Picks = std::array<int, 3>; // hand, board, opponent
    struct Row {
        const char* name;
        std::vector<MoveIntent> intents;
        Lines sent;
        Picks picks;
        bool stealStillShown;
    };
    // clang-format off
    const Row rows[] = {
        {"a pick drops the others", {{K::PickHand, 2}, {K::PickOpponent, 3}, {K::PickBoard, 4}}, {},
         {0, 4, 0}, false},
        {"picking the pick again keeps it", {{K::PickHand, 2}, {K::PickHand, 2}}, {}, {2, 0, 0}, false},
        {"a first pick on the board keeps the waiting steal shown", {{K::PickBoard, 1}}, {}, {0, 1, 0}, true},
        {"cancel without a pick changes nothing", {{K::Cancel}}, {}, {}, true},
        {"cancel drops the pick and every shift", {{K::PickBoard, 1}, {K::Cancel}}, {}, {}, false},
        {"place picks its hand tile first", {{K::Place, 5, 7}}, {"CMD_placemyletter+1+5+7+"}, {}, false},
        {"swap drops another pick", {{K::PickHand, 1}, {K::Swap, 2, 3}}, {"CMD_tradingmyletter+1+2+3+"}, {},
         false},
        {"steal", {{K::Steal, 4, 6}}, {"CMD_stealinghisletter+1+4+6+"}, {}, false},
        {"throw away and remove keep the pick",
         {{K::PickHand, 3}, {K::ThrowAway, 6}, {K::Remove, 10}},
         {"CMD_discardextra+1+6+", "CMD_discardletter+1+10+"}, {3, 0, 0}, false},
        {"slots out of range", {{K::PickHand, 7}, {K::PickBoard, 0}, {K::PickOpponent, 11}, {K::Place, 6, 11},
         {K::Place, 0, 1}, {K::Swap, 11, 1}, {K::Swap, 1, 0}, {K::Steal, 0, 1}, {K::Steal, 1, 11},
         {K::ThrowAway, 7}, {K::Remove, 11}}, {}, {}, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        for (const bool mine : {true, false}) {
            MyTurn t;
            t.model.input().apply({MoveIntentKind::Steal, 8, 9});
            if (!mine)
                t.model.input().apply({MoveIntentKind::PickHand, 1}), t.feed(build::justwatching(1, 1));
            t.sink.clear();
            for (const MoveIntent& intent : row.intents)
                t.model.input().apply(intent);
            const std::string name = row.name + std::string(mine ? "" : ", not my move");
            EXPECT_EQ(t.sink.sent, mine ? row.sent : Lines{}) << name;
            const Picks picks{t.model.input().picked(SlotFamily::Extra),
                              t.model.input().picked(SlotFamily::MyLetter),
                              t.model.input().picked(SlotFamily::HisLetter)};
            EXPECT_EQ(picks, mine ? row.picks : (Picks{1, 0, 0})) << name;
            EXPECT_TRUE(!mine || t.v().hisletter[8].raised == row.stealStillShown) << name;
        }
    }
}
