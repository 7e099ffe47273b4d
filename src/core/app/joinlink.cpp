#include "core/app/joinlink.h"

namespace plimb {

JoinStep joinStepFor(std::string_view link, LinkOrigin origin, bool gameInProgress) {
    const AddressParse parsed = parseInvitationLink(link);
    if (!parsed.ok())
        return {JoinStep::Kind::Refuse, {}, "The invitation link was not used: " + parsed.error};
    if (origin == LinkOrigin::HandedOver && !gameInProgress)
        return {JoinStep::Kind::JoinNow, parsed.address, {}};
    std::string question = "Join the game at " + shownAddress(parsed.address) + "?";
    if (gameInProgress) question += " This game ends.";
    return {JoinStep::Kind::Ask, parsed.address, question};
}

} // namespace plimb
