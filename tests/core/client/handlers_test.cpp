#include <gtest/gtest.h>

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

namespace {
using Lines = std::vector<std::string>;

template <std::size_t N> int codeAt(const std::array<SlotView, N>& board, int n) {
    return board[n].drawn ? board[n].code : -1;
}
} // namespace

TEST(ClientPeople, NewcomerInSeatTwoSwitchesRowsAndLoadsSettings) {
    ClientFixture c;
    c.model.setPlayerName("Bo");
    c.feed(build::sendlogininfo(2));
    c.sink.clear();
    c.feed(build::newplayerinfo(2, "Bo"));
    c.feed(build::existingplayers(1, "A+nn"));
    c.feed(build::existingplayers(3, "Cy"));
    EXPECT_EQ(c.sink.chatLines(), (Lines{"You are Connected.", "View Quick Instructions by clicking Ctrl-i",
                                         "A+nn is Connected.", "Cy is Connected.", "Cy is spying."}));
    EXPECT_EQ(c.sink.sounds, (Lines{"entered", "entered", "entered"}));
    EXPECT_EQ(c.sink.iniLoads, 1);
    EXPECT_EQ(c.model.view().rows[0].name, "Bo") << "own seat in the near row";
    EXPECT_EQ(c.model.view().rows[1].name, "A+nn");
    EXPECT_EQ(c.model.spectators().entries(), Lines{"3: Cy"});
    c.feed(build::newplayerinfo(2, "Bo"));
    EXPECT_EQ(c.model.view().rows[0].name, "Bo") << "a repeated announcement does not swap back";

    // The host's login may reach a newcomer before its own announcement does.
    ClientFixture late;
    late.feed(build::sendlogininfo(2));
    late.feed(build::newplayerinfo(1, "Ann"));
    late.feed(build::newplayerinfo(2, "Bo"));
    EXPECT_EQ(late.model.view().rows[0].name, "Bo");
    EXPECT_EQ(late.model.view().rows[1].name, "Ann") << "the host's name stays with its seat";
}

TEST(ClientPeople, DisconnectsOfPlayersAndSpectators) {
    ClientFixture c;
    c.seatAs(1);
    c.feed(build::newplayerinfo(4, "Dee"));
    c.feed(build::justwatching(2, 1));
    c.sink.clear();
    c.feed(build::playerdisconnected(4, "Zed"));
    EXPECT_TRUE(c.sink.chat.empty()) << "no such spy entry";
    c.feed(build::playerdisconnected(4, "Dee"));
    c.feed(build::playerdisconnected(2, "Bo"));
    ASSERT_EQ(c.sink.chat.size(), 2u);
    EXPECT_EQ(c.sink.chat[0], std::make_pair(std::string("Dee has left."), clNavy));
    EXPECT_EQ(c.sink.chat[1], std::make_pair(std::string("Bo disconnected."), kSystemLineColour));
    EXPECT_TRUE(c.model.spectators().entries().empty());
    EXPECT_EQ(c.model.view().rowFor(2).name, "Klot");
    EXPECT_FALSE(c.model.view().rowFor(2).eyes);
}

TEST(ClientGameStart, FillsLabelsAndClearsTheBoard) {
    ClientFixture c;
    c.seatAs(1);
    c.feed(build::letters(1, {{1, 5}}));
    c.feed(build::justwatching(1, 1));
    c.feed(build::playerdisconnected(2, "Bo"));
    c.sink.clear();
    c.feed(build::startgame("Ann", "20", "300", "5"));
    const ViewState& v = c.model.view();
    EXPECT_EQ(v.timeperturn, "Time per Turn: 20");
    EXPECT_EQ(v.timerStep, 9);
    EXPECT_EQ(v.playtoscore, "Play to Score: 300");
    EXPECT_EQ(v.steals, "# of Steals: 5");
    EXPECT_EQ(v.rowFor(1).status, "Steals Left: 5");
    EXPECT_EQ(v.rowFor(2).status, "Steal Left: 5");
    EXPECT_EQ(v.mywordsCaption, "Your Words: (0)");
    EXPECT_FALSE(v.extra[1].drawn);
    EXPECT_FALSE(v.justWatch);
    EXPECT_FALSE(v.rowFor(1).eyes);
    EXPECT_EQ(v.status, "");
    EXPECT_EQ(c.sink.chatLines(), Lines{"Ann has started a game."});
    EXPECT_TRUE(c.sink.sounds.empty());
    EXPECT_EQ(v.rowFor(2).name, "Klot");

    c.feed(build::startgame("Ann", "30", "200", "10000"));
    EXPECT_EQ(v.steals, "# of Steals: Unlimited");
    EXPECT_EQ(v.rowFor(2).status, "Steals Left: Unlimited");
    c.feed("CMD_startgame+Ann+thirty+200+5+");
    EXPECT_EQ(v.timeperturn, "Time per Turn: 30") << "malformed start ignored";
    c.sink.clear();
    c.feed(build::startgame("A+B", "25", "200", "5"));
    EXPECT_EQ(v.timeperturn, "Time per Turn: 25") << "a starter's name with '+' still starts the game";
    EXPECT_EQ(c.sink.chatLines(), Lines{"A+B has started a game."});
}

TEST(ClientGameStart, BeforeTheFirstGameTheLabelsShowTheNextOne) {
    ClientFixture c;
    c.model.setPlayerName("You");
    c.model.hostpress();
    c.model.showComputerOpponent();
    c.model.showNextGame("45", "250", "5", true);
    const ViewState& v = c.model.view();
    EXPECT_EQ(v.rowFor(2).name, "Klot") << "a solo game is played against the computer";
    EXPECT_EQ(v.playtoscore, "Play to Score: 250");
    EXPECT_EQ(v.timeperturn, "Time per Turn: 45");
    EXPECT_EQ(v.steals, "# of Steals: Unlimited");
    c.feed(build::sendlogininfo(1));
    c.feed(build::newplayerinfo(1, "You"));
    c.feed(build::startgame("You", "30", "200", "5"));
    EXPECT_EQ(c.sink.chatLines().back(), "You have started a game.");
    c.model.showNextGame("20", "900", "1", false);
    EXPECT_EQ(v.playtoscore, "Play to Score: 200") << "a game in view shows that game";
    c.feed(build::winner(2));
    c.model.showNextGame("20", "900", "1", false);
    EXPECT_EQ(v.playtoscore, "Play to Score: 200") << "and so does the one just ended";
}

TEST(ClientGameStart, GamestatsForALateComer) {
    ClientFixture c;
    c.seatAs(3);
    c.feed(build::gamestats(120, 250, 10000, 40, 17));
    const ViewState& v = c.model.view();
    EXPECT_EQ(v.playtoscore, "Play to score: 250");
    EXPECT_EQ(v.timerStep, 1);
    EXPECT_EQ(v.timeperturnTag, 120);
    EXPECT_EQ(v.steals, "# of Steals: Unlimited");
    EXPECT_EQ(v.rowFor(1).score, "40");
    EXPECT_EQ(v.rowFor(2).score, "17");
    c.feed(build::gamestats(0, 250, 3, 0, 0));
    EXPECT_EQ(v.timerStep, 0) << "no division by zero";
}

TEST(ClientHands, OnlyTheOwnHandIsDrawn) {
    ClientFixture c;
    c.seatAs(2);
    c.feed(build::letters(1, {{1, 3}}));
    EXPECT_FALSE(c.model.view().extra[1].drawn);
    c.feed(build::letters(2, {{1, 3}, {5, 26}}));
    c.feed("CMD_letters+2+6+4+7+9"); // slot 7: whole message dropped
    c.feed("CMD_letters+2+6");       // unpaired
    EXPECT_EQ(codeAt(c.model.view().extra, 1), 3);
    EXPECT_EQ(codeAt(c.model.view().extra, 5), 26);
    EXPECT_FALSE(c.model.view().extra[6].drawn);

    c.model.input().click(SlotFamily::Extra, 1, MouseButton::Left); // not my turn: nothing
    c.turnOf(2);
    c.model.input().click(SlotFamily::Extra, 1, MouseButton::Left);
    c.feed(build::newletter(1, 6, 8));
    EXPECT_FALSE(c.model.view().extra[1].raised) << "every client drops the hand row back";
    EXPECT_EQ(c.model.input().picked(SlotFamily::Extra), 1) << "the selection stays";
    EXPECT_FALSE(c.model.view().extra[6].drawn);
    c.feed(build::newletter(2, 6, 8));
    EXPECT_EQ(codeAt(c.model.view().extra, 6), 8);

    c.feed(build::discardextra(2, 6));
    EXPECT_FALSE(c.model.view().extra[6].drawn);
    EXPECT_FALSE(c.sink.timerOn);
    EXPECT_EQ(c.sink.sounds, Lines{"clear"});
}

TEST(ClientBoards, PlacementMapsBoardsForEachKindOfClient) {
    for (int me : {1, 2, 3}) {
        ClientFixture c;
        c.seatAs(me);
        c.feed(build::letters(me, {{2, 1}}));
        c.feed(build::placemyletter(1, 2, 4, 1));
        c.feed(build::placemyletter(2, 3, 7, 2));
        const ViewState& v = c.model.view();
        const bool seat1Near = me != 2;
        EXPECT_EQ(codeAt(seat1Near ? v.myletter : v.hisletter, 4), 1) << me;
        EXPECT_EQ(codeAt(seat1Near ? v.hisletter : v.myletter, 7), 2) << me;
        EXPECT_EQ(v.extra[2].drawn, me != 1) << "only the owner's hand slot empties";
        EXPECT_EQ(c.sink.sounds, me <= 2 ? Lines{"place"} : Lines{}) << me;
    }
}

TEST(ClientBoards, LoginDuringAGameSeesBothBoards) {
    ClientFixture c;
    c.seatAs(2);
    c.feed(build::placetheletters({{1, 1, 5}, {2, 10, 26}}));
    EXPECT_EQ(codeAt(c.model.view().hisletter, 1), 5);
    EXPECT_EQ(codeAt(c.model.view().myletter, 10), 26);
    c.feed("CMD_placetheletters+1+11+5");
    c.feed("CMD_placetheletters+1+2+27");
    c.feed("CMD_placetheletters+1+2");
    EXPECT_FALSE(c.model.view().hisletter[2].drawn);
    EXPECT_TRUE(c.sink.sounds.empty());
}

TEST(ClientBoards, TradeDiscardAndStealSounds) {
    for (int me : {1, 2, 3}) {
        ClientFixture c;
        c.seatAs(me);
        c.feed(build::tradingmyletter(1, 3, 0, 4, 9));
        c.feed(build::discardletter(1, 4));
        c.feed(build::stoldletter(1, 2, 5, 6, 12));
        const ViewState& v = c.model.view();
        const auto& seat1 = me == 2 ? v.hisletter : v.myletter;
        const auto& seat2 = me == 2 ? v.myletter : v.hisletter;
        EXPECT_EQ(codeAt(seat1, 3), 0) << "drawn with code 0";
        EXPECT_FALSE(seat1[4].drawn);
        EXPECT_EQ(codeAt(seat1, 5), 12);
        EXPECT_FALSE(seat2[6].drawn);
        const Lines expected = me == 1   ? Lines{"place", "clear", "roundover"}
                               : me == 2 ? Lines{"place"}
                                         : Lines{"place", "clear", "roundover"};
        EXPECT_EQ(c.sink.sounds, expected) << me;
    }
}

TEST(ClientResults, FormedWordFeedsOwnerListTallyAndChat) {
    for (int me : {1, 2, 3}) {
        ClientFixture c;
        c.seatAs(me);
        c.startGame();
        c.sink.longest = 5;
        c.sink.best = 12;
        c.feed(build::formedword(1, "houses", 12, 30));
        c.feed(build::formedword(2, "cat", 5, 5));
        const ViewState& v = c.model.view();
        EXPECT_EQ(v.rowFor(1).score, "30");
        EXPECT_EQ(v.rowFor(2).score, "5");
        const std::string name1 = me == 1 ? "Me" : "Ann";
        EXPECT_EQ(c.sink.chatLines()[0], "For 12 points " + name1 + " formed HOUSES");
        if (me == 1) {
            EXPECT_EQ(v.mywords, Lines{"houses : 12"});
            EXPECT_EQ(v.mywordsCaption, "Your Words: (1)");
            EXPECT_EQ(c.sink.tally, (Lines{"addword houses 6 3", "anotherword 7"}));
            EXPECT_EQ(c.sink.sounds, Lines{"goodword"});
        } else if (me == 2) {
            EXPECT_EQ(v.mywords, Lines{"cat : 5"});
            EXPECT_EQ(c.sink.tally, Lines{"anotherword 7"});
        } else {
            EXPECT_TRUE(v.mywords.empty());
            EXPECT_TRUE(c.sink.tally.empty()) << "spectators never tally";
            EXPECT_EQ(c.sink.sounds, (Lines{"goodword", "goodword"}));
        }
    }
}

TEST(ClientResults, RefusedStealsTellOnlyTheThief) {
    ClientFixture c;
    c.seatAs(1);
    c.turnOf(1);
    c.model.input().click(SlotFamily::HisLetter, 3, MouseButton::Left);
    c.feed(build::notvalid(1));
    c.feed(build::toomany(2));
    EXPECT_EQ(c.model.input().picked(SlotFamily::HisLetter), 0);
    EXPECT_FALSE(c.model.view().hisletter[3].raised);
    c.feed(build::toomany(1));
    EXPECT_EQ(c.sink.boxes,
              (Lines{"You can steal a letter only if you can use it immediately to create a valid word.",
                     "You have used all your steals."}));
    EXPECT_EQ(c.sink.sounds, (Lines{"badword", "badword"}));
}

TEST(ClientTurns, NextPlayerMarksTurnStealsAndStartsTheClock) {
    ClientFixture c;
    c.seatAs(2);
    c.startGame();
    c.feed(build::nextplayer(1, 150));
    const ViewState& v = c.model.view();
    EXPECT_TRUE(v.rows[1].turn) << "seat 1 is far in a seat 2 client";
    EXPECT_EQ(v.rowFor(1).status, "Steals Left: Unlimited");
    EXPECT_EQ(v.status, "Ann's turn.");
    EXPECT_TRUE(c.sink.timerOn);
    EXPECT_EQ(c.model.clock().secondsLeft(), 30);
    c.model.switches().turnSound = 1;
    c.feed(build::nextplayer(2, -2));
    EXPECT_TRUE(v.rows[0].turn);
    EXPECT_FALSE(v.rows[1].turn);
    EXPECT_EQ(v.rows[0].status, "Steals Left: 0");
    EXPECT_EQ(v.status, "Place a Letter");
    EXPECT_EQ(c.sink.sounds, Lines{"turnnew"});
    c.model.switches().playSounds = false;
    c.feed(build::nextplayer(2, 100));
    EXPECT_EQ(v.rows[0].status, "Steals Left: 100");
    EXPECT_EQ(c.sink.sounds.size(), 1u) << "game sounds muted";
}

TEST(ClientTurns, WinnerEndsInputAndTalliesForPlayersOnly) {
    for (int me : {1, 2, 3}) {
        ClientFixture c;
        c.seatAs(me);
        if (me == 1) c.model.hostpress();
        c.startGame();
        c.feed(build::nextplayer(1, 5));
        c.sink.clear();
        c.feed(build::winner(1));
        const ViewState& v = c.model.view();
        const std::string name = me == 1 ? "Me" : "Ann";
        EXPECT_EQ(v.winnerText, name + " has won the game!");
        EXPECT_TRUE(v.winnerVisible);
        EXPECT_EQ(c.model.currentPlayer(), 0);
        EXPECT_FALSE(c.sink.timerOn);
        EXPECT_EQ(c.sink.sounds, (Lines{"winner", "gameover"}));
        EXPECT_EQ(c.sink.chatLines(), Lines{name + " has Won the Game!"});
        EXPECT_EQ(c.sink.tally, me == 1   ? Lines{"addgame addtomine"}
                                : me == 2 ? Lines{"addgame Ann"}
                                          : Lines{});
        EXPECT_EQ(v.startButtonVisible, me == 1) << "only the host may start again";
    }
}
