// A hostile or broken host: random notices, half-valid and malformed, must leave the client's
// view inside its tables and never crash the window.
#include <gtest/gtest.h>

#include <random>

#include "core/client/clientmodel.h"
#include "core/client/fakesink.h"
#include "core/client/messagequeue.h"
#include "core/net/protocol.h"

using namespace plimb;

namespace {
using Lines = std::vector<std::string>;

TEST(HostileHost, RandomNoticesKeepTheViewSane) {
    static const std::vector<std::string_view> names{msg::sendlogininfo,    msg::chat,
                                                     msg::action,           msg::newplayerinfo,
                                                     msg::havewrongversion, msg::wrongversion,
                                                     msg::existingplayers,  msg::playerdisconnected,
                                                     msg::justwatching,     msg::startgame,
                                                     msg::nextplayer,       msg::winner,
                                                     msg::letters,          msg::newletter,
                                                     msg::placemyletter,    msg::discardextra,
                                                     msg::discardletter,    msg::tradingmyletter,
                                                     msg::notvalid,         msg::formedword,
                                                     msg::stoldletter,      msg::timeup,
                                                     msg::gamestats,        msg::toomany,
                                                     msg::placetheletters,  msg::playasound,
                                                     "CMD_nothing"};
    std::mt19937 rng(42);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    auto field = [&]() -> std::string {
        switch (pick(7)) {
        case 0:
        case 1:
            return std::to_string(pick(12));
        case 2:
            return std::to_string(pick(30));
        case 3:
            return "-" + std::to_string(pick(3));
        case 4:
            return "2147483647";
        case 5:
            return "";
        default:
            return "wave" + std::to_string(pick(25));
        }
    };

    test::FakeSink sink;
    ClientModel model(sink);
    model.received(build::sendlogininfo(2));
    model.received(build::newplayerinfo(2, "Bob"));
    for (int i = 0; i < 50000; ++i) {
        std::string text(names[pick(names.size())]);
        for (std::size_t f = pick(7); f > 0; --f)
            text += "+" + field();
        model.received(text);
        model.processsocktimer();
        if (i % 3 == 0) model.turntimerTimer();
        if (i % 11 == 0)
            model.input().click(SlotFamily::MyLetter, static_cast<int>(pick(12)), MouseButton::Left);
        if (i % 13 == 0)
            model.input().click(SlotFamily::Extra, static_cast<int>(pick(8)), MouseButton::Right);
        if (i % 17 == 0)
            model.input().click(SlotFamily::HisLetter, static_cast<int>(pick(12)), MouseButton::Left);
        sink.clear();
    }
    const ViewState& v = model.view();
    for (int n = 1; n <= 10; ++n) {
        EXPECT_TRUE(v.myletter[n].code >= 0 && v.myletter[n].code <= 26);
        EXPECT_TRUE(v.hisletter[n].code >= 0 && v.hisletter[n].code <= 26);
    }
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(v.extra[n].code >= 0 && v.extra[n].code <= 26);
    EXPECT_TRUE(v.timerWidth >= 0 && v.timerWidth <= kTimerBarWidth);
    EXPECT_LE(v.mywords.size(), 50000u);
}

// A host that fakes results must not rewrite the tally: a game counts once, and only a game this
// client saw start or was shown running; a word counts only during it and only if a board can
// hold it.
TEST(HostileHost, FakeResultsDoNotReachTheTally) {
    const std::string start = build::startgame("Ann", "30", "200", "5");
    const std::string running = build::gamestats(30, 200, 5, 0, 0);
    const struct {
        const char* what;
        Lines notices;
        Lines tally;
    } rows[] = {
        {"a winner with no game", {build::winner(1)}, {}},
        {"winners again and again",
         {start, build::winner(1), build::winner(1), build::winner(2)},
         {"addgame addtomine"}},
        {"a game shown running when I came in", {running, build::winner(2)}, {"addgame Bo"}},
        {"the next game counts again",
         {start, build::winner(2), start, build::winner(1)},
         {"addgame Bo", "addgame addtomine"}},
        {"a word with no game", {build::formedword(1, "cat", 5, 5)}, {}},
        {"a word after the win",
         {start, build::winner(1), build::formedword(1, "cat", 5, 5)},
         {"addgame addtomine"}},
        {"ten letters fit the board",
         {start, build::formedword(1, "abcdefghij", 5, 5)},
         {"addword abcdefghij 10 3", "anotherword 7"}},
        {"eleven do not", {start, build::formedword(1, "abcdefghijk", 5, 5)}, {}},
        {"sixty thousand do not", {start, build::formedword(1, std::string(60000, 'a'), 5, 5)}, {}},
        {"an empty word", {start, build::formedword(1, "", 5, 5)}, {}},
        {"not letters", {start, build::formedword(1, "ca+t1", 5, 5)}, {}},
    };
    for (const auto& row : rows) {
        test::ClientFixture c;
        c.seatAs(1);
        c.sink.best = 1000;
        for (const auto& n : row.notices)
            c.feed(n);
        EXPECT_EQ(c.sink.tally, row.tally) << row.what;
    }
}

TEST(HostileHost, RepeatedAnnouncementsChangeNothing) {
    test::ClientFixture c;
    c.seatAs(1);
    for (int i = 0; i < 5000; ++i) {
        c.feed(build::newplayerinfo(3, "Cy"));
        c.feed(build::newplayerinfo(1, "Me"));
        c.feed(build::existingplayers(2, "Bo"));
    }
    EXPECT_EQ(c.model.spectators().entries(), Lines{"3: Cy"});
    EXPECT_EQ(c.sink.chatLines(), (Lines{"Cy is Connected.", "Cy is spying."}));
    EXPECT_EQ(c.sink.sounds, Lines{"entered"});
    c.feed(build::newplayerinfo(3, "Dee"));
    c.feed(build::newplayerinfo(1, "Mallory"));
    c.feed(build::newplayerinfo(10, "Ten"));
    EXPECT_EQ(c.model.spectators().entries(), Lines{"3: Dee"}) << "one entry per seat, seats 3 to 9";
    EXPECT_EQ(c.sink.iniLoads, 1) << "the settings are read once";
    c.feed(build::playerdisconnected(3, "Dee"));
    c.feed(build::newplayerinfo(3, "Dee"));
    EXPECT_EQ(c.model.spectators().entries(), Lines{"3: Dee"}) << "a seat that left may be announced again";
}

TEST(MessageBoxes, OneAtATimeWithoutRepeats) {
    MessageQueue q;
    EXPECT_TRUE(q.offer("a"));
    const struct {
        std::string text;
        bool showNow;
    } offers[] = {{"a", false}, {"b", false}, {"b", false}, {"c", false},
                  {"d", false}, {"e", false}, {"f", false}};
    for (const auto& o : offers)
        EXPECT_EQ(q.offer(o.text), o.showNow) << o.text;
    Lines shown;
    while (const auto next = q.dismissed())
        shown.push_back(*next);
    EXPECT_EQ(shown, (Lines{"b", "c", "d", "e"})) << "repeats dropped, four wait at most";
    EXPECT_FALSE(q.isOpen());
    EXPECT_TRUE(q.offer("a")) << "a text may come back once its box is gone";
}

} // namespace
