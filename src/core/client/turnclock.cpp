#include "core/client/turnclock.h"

#include <algorithm>
#include <climits>
#include <string>

namespace plimb {

int TurnClock::barStep(int timePerTurn) {
    // A game announced with no time per turn would divide by zero; an empty bar is the honest
    // picture of a clock with nothing to count.
    if (timePerTurn <= 0) return 0;
    return kTimerBarWidth / timePerTurn;
}

void TurnClock::start() {
    running_ = true;
    timer_.startTurnTimer();
}

void TurnClock::stop() {
    running_ = false;
    timer_.stopTurnTimer();
}

void TurnClock::clear() {
    secondsLeft_ = 0;
    if (running_) stop();
}

bool TurnClock::tick() {
    if (secondsLeft_ > INT_MIN) --secondsLeft_;
    return secondsLeft_ == 20 || secondsLeft_ == 15 || (secondsLeft_ >= 1 && secondsLeft_ <= 10);
}

void TurnClock::show(ViewState& view) const {
    if (secondsLeft_ < 1) {
        // Past zero the clock keeps counting silently until a notice stops or restarts it.
        view.timerWidth = 0;
        view.turntime = "Time: 0:00";
        return;
    }
    // A new game's step can meet the old turn's count; never draw past the bar.
    view.timerWidth = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(view.timerStep) * secondsLeft_, 0, kTimerBarWidth));
    const int m = secondsLeft_ / 60;
    const int s = secondsLeft_ % 60;
    view.turntime = "Time: " + std::to_string(m) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

} // namespace plimb
