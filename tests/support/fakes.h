#pragma once
// Recording fakes for the server core's seams.
#include <string>
#include <utility>
#include <vector>

#include "core/net/protocol.h"
#include "core/rules/outbox.h"

namespace plimb::test {

struct Sent {
    int seat;
    std::string text;
    bool operator==(const Sent&) const = default;
};

class FakeOutbox : public Outbox {
public:
    void send(int seat, std::string_view text) override { sent.push_back({seat, std::string(text)}); }
    void close(int seat) override { closed.push_back(seat); }
    void move(int from, int to) override { moved.emplace_back(from, to); }
    std::vector<std::string> to(int seat) const {
        std::vector<std::string> out;
        for (const auto& s : sent)
            if (s.seat == seat) out.push_back(s.text);
        return out;
    }
    // The message names one seat received, in order.
    std::vector<std::string> namesTo(int seat) const {
        std::vector<std::string> names;
        for (const auto& t : to(seat))
            names.emplace_back(splitMessage(t).name);
        return names;
    }
    void clear() {
        sent.clear();
        closed.clear();
        moved.clear();
    }
    std::vector<Sent> sent;
    std::vector<int> closed;
    std::vector<std::pair<int, int>> moved;
};

class FakeTimer : public TurnTimer {
public:
    void start() override {
        running = true;
        ++starts;
    }
    void stop() override { running = false; }
    bool running = false;
    int starts = 0;
};

} // namespace plimb::test
