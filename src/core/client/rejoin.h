#pragma once
// What a joining window does to get into the game, and to get back in once its connection to the
// host has ended.
//
// The first join is one attempt with a time limit. When it fails the window waits for the
// player's "Try Again" or "Quit" (or File, Join a Game... for another game); the shell says why
// it failed in the chat.
//
// Once in, a lost connection is retried: for half a minute it tries
// to get back in by itself, one attempt at a time with a pause after each one that fails, showing
// the seconds left; after that it waits for the player's "Rejoin" or "Quit". A player the host
// removed is told so and never rejoined. Rejoining is an ordinary new login under the same name:
// the server seats the newcomer in the lowest free seat and shows it the running game, so a
// player who comes back while seat 2 is free gets its hand, the boards and the scores back.
//
// Time comes from the shell: it calls tick() once a second while ticking() says so, which is
// only while something counts (the half minute, or an attempt that may hang).
#include <string>
#include <string_view>

namespace plimb {

class Rejoin {
public:
    // How long the window tries by itself, the pause after an attempt that failed, and how long
    // one attempt may take before it counts as failed (a host that drops packets never answers).
    static constexpr int kAutoSeconds = 30;
    static constexpr int kPauseSeconds = 3;
    static constexpr int kAttemptSeconds = 8;

    enum class Phase {
        Connected,  // nothing to show: in, or hosting
        Joining,    // the first join is being made: nothing to show yet
        JoinFailed, // the first join did not get in: "Try Again" and "Quit"
        Retrying,   // lost, trying by itself
        Waiting,    // lost, waiting for the player
        Removed,    // the host removed us: only "Quit"
    };
    enum class Action { None, Attempt, AbortAttempt };

    // The first join starts; the shell opens its connection.
    void joining();
    // The connection ended. Returns Attempt when a new connection should be opened now.
    Action lost(bool removedByHost);
    // One second passed.
    Action tick();
    // The attempt ended without a login (refused, closed, aborted).
    void attemptFailed();
    // The new connection logged in. Returns whether it came back to a game it had lost (rather
    // than making the first join).
    bool rejoined();
    // The player's "Rejoin" or "Try Again": an attempt now, unless one runs or there is nothing
    // to retry.
    Action rejoinPressed();

    Phase phase() const { return phase_; }
    // Whether the banner shows.
    bool active() const { return phase_ != Phase::Connected && phase_ != Phase::Joining; }
    // Whether this is a game that was lost, rather than a first join or the host's own window.
    bool returning() const { return phase_ == Phase::Retrying || phase_ == Phase::Waiting; }
    bool attempting() const { return attempting_; }
    bool ticking() const { return phase_ == Phase::Retrying || attempting_; }
    int secondsLeft() const { return secondsLeft_; }
    bool rejoinEnabled() const { return retryable() && !attempting_; }

    // The banner's first line, the line under it and its button's text (empty: no button).
    std::string headline(std::string_view host) const;
    std::string detail() const;
    std::string actionText() const;

private:
    Action startAttempt();
    bool retryable() const { return returning() || phase_ == Phase::JoinFailed; }

    Phase phase_ = Phase::Connected;
    bool attempting_ = false;
    int secondsLeft_ = 0;
    int attemptAge_ = 0;
    int pauseLeft_ = 0;
};

} // namespace plimb
