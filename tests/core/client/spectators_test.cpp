#include <gtest/gtest.h>

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

namespace {
using Lines = std::vector<std::string>;
}

TEST(GameOptions, StartNeedsALogin) {
    ClientFixture c;
    c.model.setPlayerName("Ann");
    c.model.hostpress();
    EXPECT_FALSE(c.model.startButtonClick());
    EXPECT_EQ(c.sink.boxes, Lines{"You are not connected"});
    c.model.sendStartGame("30", "200", "5", false);
    EXPECT_TRUE(c.sink.sent.empty());

    c.feed(build::sendlogininfo(1));
    c.sink.clear();
    EXPECT_TRUE(c.model.startButtonClick());
    EXPECT_TRUE(c.sink.boxes.empty());
    c.model.sendStartGame("45", "1500", "7", false);
    c.model.sendStartGame("45", "1500", "7", true);
    EXPECT_EQ(c.sink.sent, (Lines{"CMD_startgame+Ann+45+1500+7+", "CMD_startgame+Ann+45+1500+10000+"}));
}

TEST(JustWatch, MenuFollowsTheServersAnswerOnly) {
    ClientFixture c;
    c.seatAs(2);
    c.model.spectators().justWatchClick();
    c.model.spectators().justWatchClick();
    EXPECT_EQ(c.sink.sent, (Lines{"CMD_justwatch+2+1", "CMD_justwatch+2+1"}));
    c.feed(build::justwatching(2, 1));
    EXPECT_TRUE(c.model.view().justWatch);
    EXPECT_TRUE(c.model.view().rows[0].eyes) << "seat 2 sits near in its own client";
    c.model.spectators().justWatchClick();
    EXPECT_EQ(c.sink.sent.back(), "CMD_justwatch+2+2");
    c.feed(build::justwatching(2, 2));
    c.feed(build::justwatching(1, 1));
    c.feed(build::justwatching(3, 1));
    c.feed("CMD_justwatching+1+x");
    EXPECT_FALSE(c.model.view().justWatch);
    EXPECT_TRUE(c.model.view().rowFor(1).eyes);
    ASSERT_EQ(c.sink.chat.size(), 3u);
    EXPECT_EQ(c.sink.chat[0], std::make_pair(std::string("Me is just watching."), clGreen));
    EXPECT_EQ(c.sink.chat[1].first, "Me is now playing again.");
    EXPECT_EQ(c.sink.chat[2].first, "Ann is just watching.");
}

TEST(JustWatch, SpectatorsCannotWatchOrKick) {
    ClientFixture c;
    c.seatAs(3);
    c.model.spectators().justWatchClick();
    c.model.spectators().kicking(2);
    c.model.spectators().kickSpyEntry("3: Spy");
    EXPECT_TRUE(c.sink.sent.empty());
    EXPECT_FALSE(c.model.me().isHost);
    const auto popup = c.model.spectators().namePopupState(1);
    EXPECT_FALSE(popup.removeFromGame || popup.setToJustWatch || popup.unsetJustWatch);
}

TEST(Removal, HostKicksByNameLabelOrSpyEntry) {
    ClientFixture c;
    c.model.setPlayerName("Ann");
    c.model.hostpress();
    c.feed(build::sendlogininfo(1));
    c.feed(build::newplayerinfo(1, "Ann"));
    c.sink.clear();
    auto popup = c.model.spectators().namePopupState(2);
    EXPECT_EQ(popup.seat, 2);
    EXPECT_FALSE(popup.removeFromGame) << "label reads <Waiting>";
    EXPECT_TRUE(popup.setToJustWatch && popup.unsetJustWatch);
    c.feed(build::startgame("Ann", "30", "200", "5"));
    EXPECT_TRUE(c.model.spectators().namePopupState(2).removeFromGame) << "Klot";

    c.model.spectators().kicking(2);
    c.model.spectators().kickSpyEntry("4: Bo");
    c.model.spectators().kickSpyEntry("x: Bo");
    c.model.spectators().kickSpyEntry("");
    c.model.spectators().setJustWatch(2, false);
    EXPECT_EQ(c.sink.sent, (Lines{"CMD_kickhim+1+2+", "CMD_kickhim+1+4+", "CMD_justwatch+2+2"}));
}

TEST(JustWatch, ASeatThreeClientIsToldItIsSpying) {
    ClientFixture c;
    c.model.setPlayerName("Spy");
    c.model.joinpress();
    c.feed(build::sendlogininfo(3));
    c.feed(build::newplayerinfo(3, "Spy"));
    EXPECT_EQ(c.sink.chatLines(),
              (Lines{"You are Connected.", "View Quick Instructions by clicking Ctrl-i", "You are spying."}));
    EXPECT_EQ(c.model.spectators().entries(), Lines{"3: Spy"});
}
