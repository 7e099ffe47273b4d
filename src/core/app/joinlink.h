#pragma once
// What an invitation link that reaches the running program leads to: joining that game ends
// whatever runs here, so the player is asked first when a game is in progress. A link clicked in
// the chat was written by someone else, so it is always asked about; a link the desktop handed to
// a second copy of this program was clicked by the player, so with no game in progress it joins at
// once.
#include "core/app/invitelink.h"

#include <string>
#include <string_view>

namespace plimb {

enum class LinkOrigin {
    Chat,       // clicked in the chat's transcript
    HandedOver, // given to another copy of this program, which passed it on
};

struct JoinStep {
    enum class Kind {
        JoinNow, // join `address` without asking
        Ask,     // ask `text`; join `address` on yes
        Refuse,  // the link cannot be used; `text` says why, for the chat
    };
    Kind kind = Kind::Refuse;
    HostPort address;
    std::string text;
    bool operator==(const JoinStep&) const = default;
};

// `link` is the text as it arrived, checked with parseInvitationLink. The question names the host
// as shownAddress prints it: "Join the game at HOST?", with " This game ends." when
// `gameInProgress`.
JoinStep joinStepFor(std::string_view link, LinkOrigin origin, bool gameInProgress);

} // namespace plimb
