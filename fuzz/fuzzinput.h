#pragma once
// Reads a fuzzer's bytes as a script of operations: small numbers pick what to do, the rest is
// data. An input that runs out simply ends the script.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// For the harness's own checks. With -fsanitize=fuzzer every comparison is traced through a
// callback, the sanitizers' own bounds checks included; a check that walks every seat after every
// step then costs more than the step it checks, and its features say nothing about the code under
// test. Address and undefined-behaviour checks stay on.
#define PLIMB_FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))

namespace plimb::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    // A number in 0..n-1 from one byte (0 when the input has run out).
    int pick(int n) { return empty() ? 0 : data_[at_++] % n; }
    // Up to `max` bytes, the length taken from the input.
    std::string bytes(std::size_t max) {
        std::size_t n = empty() ? 0 : data_[at_++];
        if (max > 255 && !empty()) n = n * 256 + data_[at_++];
        n = std::min({n, max, size_ - at_});
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    // Everything that is left.
    std::string_view rest() {
        std::string_view out(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A broken invariant is a finding: say which, and stop so that libFuzzer keeps the input.
[[noreturn]] inline void fail(std::string_view what, std::string_view detail = {}) {
    std::fprintf(stderr, "invariant broken: %.*s [%.*s]\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(std::min<std::size_t>(detail.size(), 300)), detail.data());
    std::abort();
}

} // namespace plimb::fuzz
