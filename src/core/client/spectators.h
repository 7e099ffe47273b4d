#pragma once
// The people at the table beyond the two boards: the spy list of spectators, and the requests
// that seat or unseat a watcher or remove someone, which only the host's window may send.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/client/identity.h"
#include "core/client/viewstate.h"

namespace plimb {

class Spectators {
public:
    Spectators(const Identity& me, const ViewState& view, std::function<void(const std::string&)> send);

    const std::vector<std::string>& entries() const { return spys_; } // "seat: name"
    // A spectator announced: one entry per seat, a seat announced under another name replacing
    // its entry.
    void arrived(int seat, const std::string& name);
    // Returns whether the spectator was listed.
    bool left(int seat, const std::string& name);
    void clear() { spys_.clear(); }
    void copyStateFrom(const Spectators& from) { spys_ = from.spys_; }

    // Options, "Just Watch": the flag follows the check mark, which only the server's answer
    // moves, so two clicks without an answer in between send the same request twice.
    void justWatchClick();
    void setJustWatch(int seat, bool watch); // the host's "Set to" / "Unset Just Watch"
    void kicking(int seat);
    void kickSpyEntry(std::string_view entry); // the spy list's "Remove From Game" on "3: Ann"

    struct NamePopupState {
        int seat;
        bool removeFromGame;
        bool setToJustWatch;
        bool unsetJustWatch;
    };
    // The name label popup of seat 1 or 2, as it opens.
    NamePopupState namePopupState(int seat) const;

private:
    const Identity& me_;
    const ViewState& view_;
    std::function<void(const std::string&)> send_;
    std::vector<std::string> spys_;
};

} // namespace plimb
