#pragma once
// The server's connection logic: seats, login, relays, just-watch, removal, disconnects, and the
// dispatch of queued requests to the rules.
//
// Every queued request remembers the seat of the connection it arrived on. A request acts only
// for that seat: a request naming another seat is ignored (honest clients always name their
// own), with the one exception that the host (seat 1) may switch seat 2 to watching and back.
// Removal and game start are the host's alone. A request whose numeric field is not a decimal
// number is ignored whole, before anything changes. A connection logs in once; a second login
// on it is ignored. Names are cut to kMaxNameBytes and longer chat or action texts are not
// relayed, so no notice built from a peer's text nears the size at which peers close.
//
// Seat 1 belongs to the host's own client. Once the shell has reserved it (reserveHostSeat), no
// other connection can take it, whenever it arrives: every other connection gets the lowest
// free seat from 2 on.
//
// Each connection has its own queue, and the 10 ms tick takes from the connections in turn, so
// a busy or hostile connection gets its share of the ticks and no more; the order within one
// connection is the order of arrival.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/rules/gamestate.h"
#include "core/rules/outbox.h"

namespace plimb {

class Game;

class Server {
public:
    // Milliseconds from any fixed origin; only differences are used.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t steadyMs();
    // Seat secrets, kSeatSecretChars hexadecimal digits that nobody else can guess.
    using Secrets = std::function<std::string()>;
    static std::string randomSecret();
    Server(GameState& state, Outbox& out, Game& game, Clock clock = &Server::steadyMs,
           Secrets secrets = &Server::randomSecret);

    // From now on seat 1 is kept for the connection the shell recognises as its own client.
    void reserveHostSeat() { hostSeatReserved_ = true; }
    // A connection waits on the listening socket: the record it goes to, 1..9, or 10 when the
    // table is full. `ownClient` says the shell recognised the host's own client. The shell
    // binds the socket to that record, then calls connectionAccepted.
    int pickSeat(bool ownClient = false);
    // Record 10 is told CMD_full and closed at once; a real seat is marked in use and told its
    // number with CMD_sendlogininfo.
    void connectionAccepted(int seat);
    // A complete message arrived on the connection of `seat`. A connection that has more than
    // kMaxQueuedPerSeat requests waiting is flooding us (the queue drains one per tick) and is
    // closed, so no peer can grow the queue without bound.
    void received(int seat, std::string text);
    static constexpr int kMaxQueuedPerSeat = 1000;
    // The connection of `seat` is closed (reported once per close). Tells the others and frees
    // the seat; a running turn of seat 2 passes on.
    void connectionClosed(int seat);

    // One tick of socktimer: handles at most one queued request, from the next connection in
    // turn that has one.
    void socktimerTimer();
    bool hasQueuedRequests() const { return queuedTotal_ > 0; }

    // A connection must complete its login within this time of being accepted; the shell calls
    // loginDeadline when it has passed, which closes the seat unless it has logged in. So
    // connections that never log in cannot hold the seats that real players need.
    static constexpr int kLoginSeconds = 15;
    void loginDeadline(int seat);
    bool loggedIn(int seat) const;

    // A player's chatter sounds are relayed at most once in this time; the ones between are
    // dropped, so nobody can make every window play sounds without pause.
    static constexpr std::int64_t kChatterIntervalMs = 1000;

    // The player of seat 2 is handed a secret at its login (CMD_seatkey). When that connection
    // drops during a game, the seat is kept for this long: the computer plays it, newcomers
    // watch, and only a connection that shows the secret (CMD_reclaimseat, before its login) is
    // moved into it. A connection that shows the secret of a seat 2 still held (the player's old
    // connection not yet seen to close) replaces it. A player the host removes keeps nothing.
    static constexpr std::int64_t kKeepSeatMs = 40'000;
    bool seatKept() const;

    // Exposed for the dispatcher table and for tests.
    void receivedlogininfo(int origin, std::string_view data);
    void kickhim(int origin, std::string_view data);
    void chat(int origin, std::string_view data);
    void action(int origin, std::string_view data);
    void justwatch(int origin, std::string_view data);
    void playasound(int origin, std::string_view data);
    void reclaimseat(int origin, std::string_view data);
    void startgame(int origin, std::string_view data);
    void placemyletter(int origin, std::string_view data);
    void tradingmyletter(int origin, std::string_view data);
    void stealinghisletter(int origin, std::string_view data);
    void discardletter(int origin, std::string_view data);
    void discardextra(int origin, std::string_view data);

private:
    void dispatch(int origin, std::string_view text);
    void relay(int origin, std::string_view data, bool isAction);

    GameState& state_;
    Outbox& out_;
    Game& game_;
    // receivedlist, one queue per connection record.
    std::array<std::deque<std::string>, kSeatRecords + 1> receivedlist_{};
    std::size_t queuedTotal_ = 0;
    int lastServed_ = 0;
    std::array<bool, kSeatRecords + 1> loggedIn_{};
    bool hostSeatReserved_ = false;
    Clock clock_;
    Secrets secrets_;
    std::array<std::optional<std::int64_t>, kSeatRecords + 1> lastChatterMs_{};
    std::string seat2Secret_; // of the connection logged in to seat 2
    struct Kept {
        std::string secret;
        std::int64_t until = 0;
    };
    std::optional<Kept> kept_; // seat 2, for its absent player
};

} // namespace plimb
