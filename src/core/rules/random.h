#pragma once
#include <cstdint>

namespace plimb {

// The program-wide generator. Every rule draw advances the one shared state, so the order of
// draws is part of the game's algorithms: state := state * 134775813 + 1 (mod 2^32), and
// Random(n) is the high 32 bits of the 64-bit product state * n, a value in 0..n-1.
class Random {
public:
    explicit Random(std::uint32_t seed = 0) : state_(seed) {}
    void seed(std::uint32_t s) { state_ = s; }
    std::uint32_t state() const { return state_; }
    // A value in 0..n-1; 0 when n <= 0.
    int operator()(int n) {
        state_ = state_ * 134775813u + 1u;
        if (n <= 0) return 0;
        return static_cast<int>((static_cast<std::uint64_t>(state_) * static_cast<std::uint32_t>(n)) >> 32);
    }

private:
    std::uint32_t state_;
};

// The seed the window takes at creation: the time of day in milliseconds.
inline std::uint32_t seedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
    return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

} // namespace plimb
