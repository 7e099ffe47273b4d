#include "core/client/rejoin.h"

#include <algorithm>

namespace plimb {

void Rejoin::joining() {
    phase_ = Phase::Joining;
    startAttempt();
}

Rejoin::Action Rejoin::lost(bool removedByHost, int secondsConnected) {
    attempting_ = false;
    if (removedByHost) {
        phase_ = Phase::Removed;
        return Action::None;
    }
    const bool lostAgainSoon = secondsLeft_ > 0 && secondsConnected < kSettledSeconds;
    phase_ = Phase::Retrying;
    if (lostAgainSoon) {
        pauseAfterFailure();
        return Action::None;
    }
    secondsLeft_ = kAutoSeconds;
    failures_ = 0;
    toldBack_ = false;
    return startAttempt();
}

void Rejoin::pauseAfterFailure() {
    pauseLeft_ = std::min(kPauseSeconds << std::min(failures_, 8), kMaxPauseSeconds);
    ++failures_;
}

Rejoin::Action Rejoin::startAttempt() {
    attempting_ = true;
    attemptAge_ = 0;
    return Action::Attempt;
}

Rejoin::Action Rejoin::tick() {
    Action action = Action::None;
    if (attempting_ && ++attemptAge_ >= kAttemptSeconds) {
        attemptFailed();
        action = Action::AbortAttempt;
    }
    if (phase_ != Phase::Retrying) return action;
    if (--secondsLeft_ <= 0) {
        secondsLeft_ = 0;
        phase_ = Phase::Waiting;
    } else if (!attempting_ && action == Action::None && --pauseLeft_ <= 0) {
        action = startAttempt();
    }
    return action;
}

void Rejoin::attemptFailed() {
    attempting_ = false;
    pauseAfterFailure();
    if (phase_ == Phase::Joining) phase_ = Phase::JoinFailed;
}

bool Rejoin::rejoined() {
    const bool cameBack = returning() && !toldBack_;
    if (returning()) toldBack_ = true;
    phase_ = Phase::Connected;
    attempting_ = false;
    return cameBack;
}

Rejoin::Action Rejoin::rejoinPressed() {
    if (!retryable() || attempting_) return Action::None;
    return startAttempt();
}

std::string Rejoin::headline(std::string_view host) const {
    if (phase_ == Phase::Removed) return "You were removed from the game.";
    if (phase_ == Phase::JoinFailed) return "Could not join the game at " + std::string(host) + ".";
    return "The connection to " + std::string(host) + " was lost.";
}

std::string Rejoin::detail() const {
    switch (phase_) {
    case Phase::Connected:
    case Phase::Joining:
    case Phase::Removed:
        return {};
    case Phase::JoinFailed:
        if (attempting_) return "Trying again...";
        return "The chat says why. Press Try Again, or choose File, Join a Game... to join another game.";
    case Phase::Retrying:
        if (attempting_) return "Rejoining the game...";
        return "Trying again by itself for " + std::to_string(secondsLeft_) +
               (secondsLeft_ == 1 ? " more second." : " more seconds.");
    case Phase::Waiting:
        if (attempting_) return "Rejoining the game...";
        return "Press Rejoin to try again, or Quit to close Plimb.";
    }
    return {};
}

std::string Rejoin::actionText() const {
    if (phase_ == Phase::Removed) return {};
    return phase_ == Phase::JoinFailed ? "Try Again" : "Rejoin";
}

} // namespace plimb
