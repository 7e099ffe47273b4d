#include "core/app/joinlink.h"

#include <gtest/gtest.h>

namespace plimb {
namespace {

TEST(JoinLink, AsksWhenAGameWouldEndOrTheChatSentItJoinsAHandedOverLinkAtOnceAndNeverActsOnABadOne) {
    using enum JoinStep::Kind;
    constexpr auto chat = LinkOrigin::Chat, given = LinkOrigin::HandedOver;
    const HostPort plain{"game.example", kGamePort};
    const auto refused = [](const char* link) {
        return JoinStep{Refuse, {}, "The invitation link was not used: " + parseInvitationLink(link).error};
    };
    const struct {
        const char* link;
        LinkOrigin origin;
        bool gameInProgress;
        JoinStep step;
    } rows[] = {
        {"plimb://game.example", given, false, {JoinNow, plain, ""}},
        {" PLIMB://game.example:7772/\n", given, false, {JoinNow, plain, ""}},
        {"plimb://game.example", given, true, {Ask, plain, "Join the game at game.example? This game ends."}},
        {"plimb://game.example", chat, false, {Ask, plain, "Join the game at game.example?"}},
        {"plimb://[2001:db8::1]:7000",
         chat,
         true,
         {Ask, {"2001:db8::1", 7000}, "Join the game at [2001:db8::1]:7000? This game ends."}},
        {"plimb://ann@host", given, false, refused("plimb://ann@host")},
        {"plimb://host:0", chat, false, refused("plimb://host:0")},
        {"plimb://host/x", given, true, refused("plimb://host/x")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.link);
        EXPECT_EQ(joinStepFor(row.link, row.origin, row.gameInProgress), row.step);
    }
}

} // namespace
} // namespace plimb
