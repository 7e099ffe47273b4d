#pragma once
// Who this window is at the table: the name it logs in with, the seat the host gave it, and
// whether it hosts.
#include <string>

namespace plimb {

struct Identity {
    std::string playerName;
    std::string loginName; // the player name + 0xFF, as the login sends it
    int seat = 0;
    bool loggedIn = false;
    bool isHost = false;
    bool isPlayer() const { return seat == 1 || seat == 2; }
};

} // namespace plimb
