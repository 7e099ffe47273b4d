#include <gtest/gtest.h>

#include "core/net/socketerror.h"

#include "core/client/fakesink.h"

using namespace plimb;
using namespace plimb::test;

TEST(ClientDispatch, FirstTickDrainsTheInitialEntryQuietly) {
    FakeSink sink;
    ClientModel model(sink);
    EXPECT_EQ(model.queue().size(), 1u);
    EXPECT_TRUE(model.timer1Needed());
    model.timer1Timer();
    EXPECT_TRUE(model.queue().empty());
    EXPECT_FALSE(model.timer1Needed()) << "idle: no work for the 1 ms timer";
    EXPECT_TRUE(sink.chat.empty());
    EXPECT_TRUE(sink.sent.empty());
}

TEST(ClientDispatch, IgnoresUnknownEmptyAndPlusLessNames) {
    ClientFixture c;
    for (const char* m : {"CMD_bogus+1+2", "+1+2", "CMD_timeup", "", "cmd_timeup+", "CMD_timeup +"})
        c.feed(m);
    EXPECT_TRUE(c.sink.chat.empty());
    c.feed("CMD_timeup+");
    EXPECT_EQ(c.sink.chatLines(), std::vector<std::string>{"Time Up!"}) << "runs with empty data";
}

TEST(ClientDispatch, TakesOneMessagePerTickInOrder) {
    ClientFixture c;
    for (int i = 0; i < 20; ++i)
        c.model.received(build::havewrongversion("P" + std::to_string(i)));
    for (int tick = 1; tick <= 20; ++tick) {
        c.model.timer1Timer();
        ASSERT_EQ(c.sink.chat.size(), static_cast<std::size_t>(tick));
        EXPECT_EQ(c.sink.chat.back().first,
                  "P" + std::to_string(tick - 1) + " has a different version of the game then you.");
    }
    EXPECT_TRUE(c.model.queue().empty());
}

TEST(ClientDispatch, VersionWarningsAndFullTable) {
    ClientFixture c;
    c.feed(build::havewrongversion("Ann"));
    c.feed(build::wrongversion());
    ASSERT_EQ(c.sink.chat.size(), 2u);
    EXPECT_EQ(c.sink.chat[0], std::make_pair(std::string("Ann has a different version of the game then you."),
                                             kSystemLineColour));
    EXPECT_EQ(c.sink.chat[1].first, "You have a differnt version of the game then the host.");
    c.feed(build::full());
    EXPECT_EQ(c.sink.order, (std::vector<std::string>{"box:Game is full", "close"}));
}

TEST(ClientDispatch, ChatAndActionLinesKeepTheirColour) {
    ClientFixture c;
    c.feed(build::chat("Ann", "hi|clGreen"));
    c.feed(build::action("Bo", "waves|nonsense"));
    ASSERT_EQ(c.sink.chat.size(), 2u);
    EXPECT_EQ(c.sink.chat[0], std::make_pair(std::string("Ann chats: hi"), clGreen));
    EXPECT_EQ(c.sink.chat[1], std::make_pair(std::string("Bo waves"), clRed));
}

TEST(ClientLogin, HostAndJoinBuildTheLoginName) {
    FakeSink sink;
    ClientModel host(sink), guest(sink);
    host.setPlayerName("Ann");
    host.hostpress();
    EXPECT_EQ(host.me().loginName, "Ann\xFF");
    EXPECT_TRUE(host.me().isHost);
    EXPECT_TRUE(host.view().startButtonVisible);
    EXPECT_TRUE(host.me().isHost);
    guest.setPlayerName("Bo");
    guest.joinpress();
    EXPECT_EQ(guest.me().loginName, "Bo\xFF");
    EXPECT_FALSE(guest.me().isHost);
    EXPECT_FALSE(guest.view().startButtonVisible);
    EXPECT_FALSE(guest.me().isHost);
}

TEST(ClientLogin, SendloginfoRepliesWithSeatVersionAndName) {
    ClientFixture c;
    c.model.setPlayerName("Ann");
    c.model.joinpress();
    c.feed("CMD_sendlogininfo+x");
    EXPECT_FALSE(c.model.me().loggedIn) << "a seat that is no number is ignored";
    c.feed(build::sendlogininfo(2));
    EXPECT_EQ(c.model.me().seat, 2);
    EXPECT_TRUE(c.model.me().loggedIn);
    ASSERT_EQ(c.sink.sent.size(), 1u);
    EXPECT_EQ(c.sink.sent[0], "CMD_logininfo+2+1.0.5+Ann\xFF");
}

TEST(ClientPhrases, OnePhrasePerCoolDownOf101TicksAndOnlyWhenLoggedIn) {
    ClientFixture c;
    EXPECT_FALSE(c.model.phraseClick("Way To Go!", clBlack)) << "not logged in yet";
    c.feed(build::sendlogininfo(2));
    c.sink.clear();
    EXPECT_TRUE(c.model.phraseClick("Way To Go!", clNavy));
    EXPECT_FALSE(c.model.phraseClick("Good One!", clNavy)) << "a second quick click";
    EXPECT_TRUE(c.model.timer1Needed());
    for (int i = 0; i < 100; ++i)
        c.model.timer1Timer();
    EXPECT_FALSE(c.model.phraseClick("Good One!", clNavy));
    c.model.timer1Timer();
    EXPECT_FALSE(c.model.timer1Needed());
    EXPECT_TRUE(c.model.phraseClick("/me cheers loudly", clBlack));
    c.model.timer1Timer();
    for (int i = 0; i < 101; ++i)
        c.model.timer1Timer();
    EXPECT_TRUE(c.model.phraseClick("", clBlack));
    EXPECT_EQ(c.sink.sent, (std::vector<std::string>{"CMD_action+2+says: Way To Go!|clNavy",
                                                     "CMD_action+2+cheers loudly|clBlack",
                                                     "CMD_action+2+says: |clBlack"}));
}

TEST(ClientChatter, OnlyLoggedInPlayersSendAndCancelSendsNothing) {
    ClientFixture c;
    c.model.wave20Click(13);
    EXPECT_TRUE(c.sink.sent.empty()) << "not logged in";
    c.feed(build::sendlogininfo(1));
    c.sink.clear();
    for (int tag : {0, 21, -1, 13, 1, 20})
        c.model.wave20Click(tag);
    EXPECT_EQ(c.sink.sent, (std::vector<std::string>{"CMD_playasound+1+wave13+", "CMD_playasound+1+wave1+",
                                                     "CMD_playasound+1+wave20+"}));
    ClientFixture spy;
    spy.feed(build::sendlogininfo(3));
    spy.sink.clear();
    spy.model.wave20Click(13);
    EXPECT_TRUE(spy.sink.sent.empty()) << "spectators cannot send chatter sounds";
}

TEST(ClientChatter, PlaysOrWritesTheCaptionWhenMuted) {
    ClientFixture c;
    c.seatAs(3);
    c.feed("CMD_playasound+1+wave13+");
    EXPECT_EQ(c.sink.chatter, std::vector<std::string>{"wave13"});
    c.model.switches().playSounds = false;
    c.feed("CMD_playasound+2+wave1+");
    EXPECT_EQ(c.sink.chatter.size(), 2u) << "game sound switch plays no part";

    c.model.switches().playChatterSounds = false;
    c.feed("CMD_playasound+1+wave13+");
    c.feed("CMD_playasound+2+WAVE20+");
    for (const char* bad : {"CMD_playasound+5+wave1+", "CMD_playasound+1+wave21+", "CMD_playasound+1+wave+",
                            "CMD_playasound+x+wave1+", "CMD_playasound+1+bell+", "CMD_playasound+1+wave01+"})
        c.feed(bad);
    EXPECT_EQ(c.sink.chatter.size(), 2u);
    EXPECT_EQ(c.sink.chatLines(),
              (std::vector<std::string>{"Ann: <Chatter Sound> Applause", "Bo: <Chatter Sound> Crying"}));
    EXPECT_EQ(c.sink.chat[0].second, kSystemLineColour);
}

TEST(ClientDispatch, PeersTextIsReadInEitherEncodingAndCannotForgeALine) {
    ClientFixture c;
    c.seatAs(1, "Ann");
    c.feed(build::newplayerinfo(2, "J\xFC"
                                   "rgen\r\nYou are Connected."));
    c.feed(build::chat("J\xC3\xBCrgen", "caf\xC3\xA9\nFor 99 points Ann formed ZOO|clBlack"));
    c.feed(build::newplayerinfo(3, "Sp\xE9\xE2\x80\xA8y"));
    EXPECT_EQ(c.model.view().rowFor(2).name, "J\xC3\xBCrgen  You are Connected.")
        << "one line, Windows-1252 read";
    const auto lines = c.sink.chatLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "J\xC3\xBCrgen  You are Connected. is Connected.");
    EXPECT_EQ(lines[1], "J\xC3\xBCrgen chats: caf\xC3\xA9 For 99 points Ann formed ZOO") << "UTF-8 kept";
    EXPECT_EQ(c.model.spectators().entries(),
              std::vector<std::string>{"3: Sp\xC3\xA9\xC3\xA2\xE2\x82\xAC\xC2\xA8y"})
        << "not valid UTF-8 as a whole, so every byte is a 1252 character";
}

TEST(ClientLogin, EachFailedConnectIsToldWithTheHostTriedAndWhatItMeans) {
    ClientFixture c;
    c.model.setPlayerName("Zed");
    c.model.joinpress();
    c.model.connectFailed("10.0.0.5", 7772, 10061, "Error #10061 (WSAECONNREFUSED)");
    c.model.connectFailed("10.0.0.5", 7772, 10060, "Error #10060 (WSAETIMEDOUT)");
    EXPECT_EQ(c.sink.chatLines(),
              (std::vector<std::string>{"Could not connect to 10.0.0.5: Error #10061 (WSAECONNREFUSED)",
                                        connectFailureAdvice(10061, "10.0.0.5", 7772),
                                        "Could not connect to 10.0.0.5: Error #10060 (WSAETIMEDOUT)",
                                        connectFailureAdvice(10060, "10.0.0.5", 7772)}));
    EXPECT_TRUE(c.sink.order.empty()) << "the window stays open";

    ClientFixture joined;
    joined.seatAs(2, "Zed");
    joined.model.connectFailed("10.0.0.5", 7772, 10053, "Error #10053 (WSAECONNABORTED)");
    EXPECT_TRUE(joined.sink.chat.empty()) << "a connection that was made never reports a failed join";
}
