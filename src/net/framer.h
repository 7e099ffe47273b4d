#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

// Cuts a connection's byte stream into messages at the byte 0xFF and keeps the unfinished tail
// for the next read. The tail is capped so that no peer can grow our memory without bound: a
// peer that sends more than the cap without a terminator is a protocol error (the caller closes
// the connection).
class Framer {
public:
    static constexpr std::size_t kDefaultCap = 64 * 1024;
    Framer() = default;
    explicit Framer(std::size_t cap) : cap_(cap) {}

    // Appends the complete messages (without terminators, empty ones included) to `out`.
    // Returns false when the unterminated tail has grown past the cap; the tail is then dropped.
    bool feed(std::string_view bytes, std::vector<std::string>& out);
    std::size_t tailSize() const { return tail_.size(); }

private:
    std::size_t cap_ = kDefaultCap;
    std::string tail_;
};

// The bytes to put on the wire for one message.
std::string frame(std::string_view text);

} // namespace plimb
