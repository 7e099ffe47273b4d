#pragma once
#include <string_view>

namespace plimb {

// How the server core reaches its connections. The shell frames the text and writes it on the
// seat's socket; closing a seat closes its socket, which the shell reports back as a closed seat.
class Outbox {
public:
    virtual ~Outbox() = default;
    virtual void send(int seat, std::string_view text) = 0;
    virtual void close(int seat) = 0;
    // The connection of record `from` now holds record `to` (free until now): its later
    // messages and its close are reported for `to`, and sends to `to` reach it.
    virtual void move(int from, int to) = 0;
};

// The server's one-second turn timer. The core keeps the mode and the countdown itself; the
// shell only runs a 1000 ms timer while it is started and calls Game::turntimerTimer per tick.
class TurnTimer {
public:
    virtual ~TurnTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

} // namespace plimb
