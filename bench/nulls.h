#pragma once
// Seams that swallow everything, so a benchmark measures only the core.
#include <cstddef>
#include <string_view>

#include "core/rules/outbox.h"

namespace plimb::bench {

class NullOutbox : public Outbox {
public:
    void send(int, std::string_view text) override { bytes += text.size(); }
    void close(int) override {}
    void move(int, int) override {}
    std::size_t bytes = 0;
};

class NullTimer : public TurnTimer {
public:
    void start() override { running = true; }
    void stop() override { running = false; }
    bool running = false;
};

} // namespace plimb::bench
