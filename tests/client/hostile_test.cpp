// A hostile or broken host: random notices, half-valid and malformed, must leave the client's
// view inside its tables and never crash the window.
#include <gtest/gtest.h>

#include <random>

#include "client/clientmodel.h"
#include "fakesink.h"
#include "net/protocol.h"

using namespace plimb;

namespace {

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
        if (i % 11 == 0) model.myletterMouseDown(static_cast<int>(pick(12)), MouseButton::Left);
        if (i % 13 == 0) model.extraMouseDown(static_cast<int>(pick(8)), MouseButton::Right);
        if (i % 17 == 0) model.hisletterClick(static_cast<int>(pick(12)));
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

} // namespace
