#pragma once
// How long an end-to-end test waits for the event it checks before it calls the event missing.
#include <chrono>
#include <thread>

namespace plimb::test {

// Generous on purpose: a machine busy with a build can hold any step back for seconds, and the
// limit only costs time when the event never comes, that is when the test fails anyway.
inline constexpr std::chrono::milliseconds kPatience{30000};

// Polls `done` until it holds or the patience runs out; true when it held.
template <typename Pred> bool waitUntil(Pred done, std::chrono::milliseconds patience = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace plimb::test
