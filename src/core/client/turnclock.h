#pragma once
// The turn clock is a display only: the server runs its own timer and decides the time-out. The
// clock keeps the count and draws the bar and the time; the shell's one-second timer runs while
// the port is started.
#include "core/client/clientsink.h"
#include "core/client/viewstate.h"

namespace plimb {

class TurnClock {
public:
    explicit TurnClock(ClientTurnTimer& timer) : timer_(timer) {}

    // Pixels of the clock bar per second left.
    static int barStep(int timePerTurn);

    int secondsLeft() const { return secondsLeft_; }
    bool running() const { return running_; }

    void setSecondsLeft(int seconds) { secondsLeft_ = seconds; }
    void start();
    void stop();
    // Forgets the count, stopping a running clock, as a new connection starts from nothing.
    void clear();
    // The count of another clock, for a copy of its model; the timer port is not asked, since the
    // copy's owner runs its timer as the original's ran.
    void copyStateFrom(const TurnClock& from) {
        secondsLeft_ = from.secondsLeft_;
        running_ = from.running_;
    }
    // One second: returns whether it ticks aloud (at 20, 15 and the last ten).
    bool tick();
    // The bar and the time as the count stands.
    void show(ViewState& view) const;

private:
    ClientTurnTimer& timer_;
    int secondsLeft_ = 0;
    bool running_ = false;
};

} // namespace plimb
