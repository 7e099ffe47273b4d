#pragma once
// The window's message boxes, one at a time. A text that is open or already waiting is not
// queued again, and only a few different texts wait, so a host that sends the same refusal a
// thousand times costs the user one click, not a thousand.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace plimb {

class MessageQueue {
public:
    static constexpr std::size_t kMaxWaiting = 4;

    // A box is asked for. True: show it now (none is open). False: it waits for the open one,
    // or was dropped as a repeat or for want of room.
    bool offer(const std::string& text);
    // The open box was dismissed: the next text to show, if one waits.
    std::optional<std::string> dismissed();
    bool isOpen() const { return open_.has_value(); }

private:
    std::optional<std::string> open_;
    std::deque<std::string> waiting_;
};

} // namespace plimb
