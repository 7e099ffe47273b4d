#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

// Cuts a connection's byte stream into messages at the byte 0xFF and keeps the unfinished tail
// for the next read. Every message, finished or not, is capped, so that no peer can make us hold
// or hand on more than the cap in one piece: a longer one is a protocol error (the caller closes
// the connection). Empty messages (two terminators in a row) carry nothing and are dropped here,
// so they never take a turn of the queue they would otherwise wait in.
class Framer {
public:
    static constexpr std::size_t kDefaultCap = 64 * 1024;
    Framer() = default;
    explicit Framer(std::size_t cap) : cap_(cap) {}

    // Appends the complete, non-empty messages (without terminators) to `out`. Returns false
    // when a message, complete or still unfinished, is longer than the cap; the messages before
    // it are still appended, the rest of the bytes and the tail are dropped.
    bool feed(std::string_view bytes, std::vector<std::string>& out);
    std::size_t tailSize() const { return tail_.size(); }

private:
    std::size_t cap_ = kDefaultCap;
    std::string tail_;
};

// The bytes to put on the wire for one message.
std::string frame(std::string_view text);

} // namespace plimb
