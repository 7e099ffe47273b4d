#pragma once
// Which announced games get a resolution and which stay listed. A network may announce games
// without end, or names that never resolve; the browser must stay small and keep listing the
// games that did resolve. Announcements wait in a bounded queue, at most a few resolve at once
// and none for longer than a time limit, and a resolving one already holds its place among the
// listed, so a game that resolved is never pushed out by one that has not.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace plimb {

class LanSlots {
public:
    using Clock = std::chrono::steady_clock;
    struct Limits {
        std::size_t listed = 256;   // as many games as a player can read through
        std::size_t resolving = 64; // resolutions under way at once
        std::size_t waiting = 1024; // announcements queued for a resolution
        // A game on the same network answers well within this; a name with nothing behind it never does.
        Clock::duration resolveLimit = std::chrono::seconds(3);
    };
    enum class State { Unknown, Waiting, Resolving, Listed };

    explicit LanSlots(Limits limits);
    LanSlots() : LanSlots(Limits{}) {}

    // A newly seen announcement joins the queue; false when the queue is full and it is ignored.
    bool seen(const std::string& key);
    // The waiting announcements that may start resolving now, oldest first and at most `most`;
    // they are Resolving from `now` on.
    std::vector<std::string> startResolving(Clock::time_point now, std::size_t most = SIZE_MAX);
    // A resolution gave a game that can be listed (it keeps its place) or one that cannot (it is
    // forgotten, freeing its place).
    void resolved(const std::string& key, bool listable);
    // Withdrawn, or failed to resolve: forgotten at once, wherever it was.
    void forget(const std::string& key);
    // The resolutions that have run past the limit by `now`, forgotten.
    std::vector<std::string> expire(Clock::time_point now);
    // When the oldest resolution under way runs out; nothing while none is.
    std::optional<Clock::time_point> nextExpiry() const;

    State state(const std::string& key) const;
    std::size_t listedCount() const { return listed_; }

private:
    struct Entry {
        State state;
        Clock::time_point started;
    };
    Limits limits_;
    std::map<std::string, Entry> entries_;
    std::deque<std::string> queue_; // waiting keys, oldest first
    std::size_t listed_ = 0, resolving_ = 0;
};

} // namespace plimb
