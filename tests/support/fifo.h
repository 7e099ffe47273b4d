#pragma once
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace plimb::test {

// Runs `load` on a thread of its own and waits for it, patiently. A load still waiting then (on
// opening the FIFO) is released by opening the other end once, so the test fails rather than hangs.
template <typename Load> auto loadBesideFifo(const std::string& fifo, Load load) {
    auto done = std::async(std::launch::async, std::move(load));
    if (done.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "the load blocked on the FIFO " << fifo;
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    }
    return done.get();
}

} // namespace plimb::test
