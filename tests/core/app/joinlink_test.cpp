#include "app/joinlink.h"

#include <gtest/gtest.h>

namespace plimb {
namespace {

using Kind = JoinStep::Kind;

struct StepRow {
    const char* link;
    LinkOrigin origin;
    bool gameInProgress;
    JoinStep step;
};

TEST(JoinLink, AsksWhenAGameWouldEndOrTheChatSentItJoinsAHandedOverLinkAtOnceAndRefusesBadLinks) {
    const HostPort plain{"game.example", kGamePort};
    const HostPort ipv6{"2001:db8::1", 7000};
    const StepRow rows[] = {
        {"plimb://game.example", LinkOrigin::HandedOver, false, {Kind::JoinNow, plain, ""}},
        {" PLIMB://game.example:7772/\n", LinkOrigin::HandedOver, false, {Kind::JoinNow, plain, ""}},
        {"plimb://game.example",
         LinkOrigin::HandedOver,
         true,
         {Kind::Ask, plain, "Join the game at game.example? This game ends."}},
        {"plimb://game.example",
         LinkOrigin::Chat,
         false,
         {Kind::Ask, plain, "Join the game at game.example?"}},
        {"plimb://[2001:db8::1]:7000",
         LinkOrigin::Chat,
         true,
         {Kind::Ask, ipv6, "Join the game at [2001:db8::1]:7000? This game ends."}},
        {"plimb://192.0.2.7:7000",
         LinkOrigin::HandedOver,
         true,
         {Kind::Ask, {"192.0.2.7", 7000}, "Join the game at 192.0.2.7:7000? This game ends."}},
    };
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.link);
        EXPECT_EQ(joinStepFor(row.link, row.origin, row.gameInProgress), row.step);
    }
}

TEST(JoinLink, ABadLinkIsNeverActedOnWhateverItsOriginAndSaysWhy) {
    for (const char* link : {"plimb://ann@host", "plimb://host:0", "plimb:", "plimb://host/x"}) {
        for (const LinkOrigin origin : {LinkOrigin::Chat, LinkOrigin::HandedOver}) {
            for (const bool inProgress : {false, true}) {
                SCOPED_TRACE(link);
                const JoinStep step = joinStepFor(link, origin, inProgress);
                EXPECT_EQ(step.kind, Kind::Refuse);
                EXPECT_EQ(step.address, HostPort{});
                EXPECT_EQ(step.text, "The invitation link was not used: " + parseInvitationLink(link).error);
            }
        }
    }
}

} // namespace
} // namespace plimb
