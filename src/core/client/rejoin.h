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
    // Each failure doubles the pause before the next try, up to this: a host that lets us in and
    // throws us out again at once gets a handful of tries, not thousands.
    static constexpr int kMaxPauseSeconds = 12;
    // A connection that held this long was a real rejoin: losing it later starts a new half
    // minute. One lost sooner goes on with the half minute already begun.
    static constexpr int kSettledSeconds = 30;

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
    // The connection ended after `secondsConnected` seconds. Returns Attempt when a new
    // connection should be opened now.
    Action lost(bool removedByHost, int secondsConnected = kSettledSeconds);
    // One second passed.
    Action tick();
    // The attempt ended without a login (refused, closed, aborted).
    void attemptFailed();
    // The new connection is in: logged in and shown the game. Returns whether it came back to a
    // game it had lost (rather than making the first join), the first time only in one half
    // minute of tries, so that a host that keeps throwing us out does not fill the chat.
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
    void pauseAfterFailure();
    bool retryable() const { return returning() || phase_ == Phase::JoinFailed; }

    Phase phase_ = Phase::Connected;
    bool attempting_ = false;
    int secondsLeft_ = 0;
    int attemptAge_ = 0;
    int pauseLeft_ = 0;
    int failures_ = 0;      // in this half minute
    bool toldBack_ = false; // rejoined() has said so in this half minute
};

} // namespace plimb
