#pragma once
// The window's queue of notices, `receivedlist`: the shell puts every framed message in, and each
// tick of the 1 ms timer takes one out. It starts with the single entry "receivedlist", which the
// first tick takes and the dispatcher drops.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace plimb {

class NoticeQueue {
public:
    void push(std::string message);
    std::optional<std::string> take();
    // Everything waiting is dropped, as when the connection it came on is gone.
    void clear();

    bool empty() const { return list_.empty(); }
    std::size_t size() const { return list_.size(); }
    // The bytes of text waiting.
    std::size_t bytes() const { return bytes_; }

private:
    std::deque<std::string> list_{"receivedlist"};
    std::size_t bytes_ = 12; // the initial entry
};

} // namespace plimb
