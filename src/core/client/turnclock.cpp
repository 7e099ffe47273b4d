// The turn clock is a display only: the server runs its own timer and decides the time-out.
#include <algorithm>
#include <climits>
#include <string>

#include "core/client/clientmodel.h"

namespace plimb {

int ClientModel::barStep(int timePerTurn) {
    // A game announced with no time per turn would divide by zero; an empty bar is the honest
    // picture of a clock with nothing to count.
    if (timePerTurn <= 0) return 0;
    return kTimerBarWidth / timePerTurn;
}

void ClientModel::turntimerTimer() {
    if (secondsLeft_ > INT_MIN) --secondsLeft_;
    showClock();
    if (secondsLeft_ == 20 || secondsLeft_ == 15 || (secondsLeft_ >= 1 && secondsLeft_ <= 10)) sound("tick");
}

void ClientModel::showClock() {
    if (secondsLeft_ < 1) {
        // Past zero the clock keeps counting silently until a notice stops or restarts it.
        view_.timerWidth = 0;
        view_.turntime = "Time: 0:00";
        return;
    }
    // A new game's step can meet the old turn's count; never draw past the bar.
    view_.timerWidth = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(view_.timerStep) * secondsLeft_, 0, kTimerBarWidth));
    const int m = secondsLeft_ / 60;
    const int s = secondsLeft_ % 60;
    view_.turntime = "Time: " + std::to_string(m) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

} // namespace plimb
