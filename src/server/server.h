#pragma once
// The server's connection logic: seats, login, relays, just-watch, removal, disconnects, and the
// dispatch of queued requests to the rules.
//
// Every queued request remembers the seat of the connection it arrived on. A request acts only
// for that seat: a request naming another seat is ignored (honest clients always name their
// own), with the one exception that the host (seat 1) may switch seat 2 to watching and back.
// Removal and game start are the host's alone. A request whose numeric field is not a decimal
// number is ignored whole, before anything changes.
#include <array>
#include <deque>
#include <string>
#include <string_view>

#include "rules/gamestate.h"
#include "server/outbox.h"

namespace plimb {

class Game;

class Server {
public:
    Server(GameState& state, Outbox& out, Game& game);

    // A connection waits on the listening socket: the record it goes to, 1..9, or 10 when the
    // table is full. The shell binds the socket to that record, then calls connectionAccepted.
    int pickSeat();
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

    // One tick of socktimer: handles at most one queued request.
    void socktimerTimer();
    bool hasQueuedRequests() const { return !receivedlist_.empty(); }

    // Exposed for the dispatcher table and for tests.
    void receivedlogininfo(int origin, std::string_view data);
    void kickhim(int origin, std::string_view data);
    void chat(int origin, std::string_view data);
    void action(int origin, std::string_view data);
    void justwatch(int origin, std::string_view data);
    void playasound(int origin, std::string_view data);
    void startgame(int origin, std::string_view data);
    void placemyletter(int origin, std::string_view data);
    void tradingmyletter(int origin, std::string_view data);
    void stealinghisletter(int origin, std::string_view data);
    void discardletter(int origin, std::string_view data);
    void discardextra(int origin, std::string_view data);

private:
    struct Queued {
        int seat;
        std::string text;
    };
    void dispatch(int origin, std::string_view text);
    void relay(int origin, std::string_view data, bool isAction);

    GameState& state_;
    Outbox& out_;
    Game& game_;
    std::deque<Queued> receivedlist_;
    std::array<int, kSeatRecords + 1> queuedPerSeat_{};
};

} // namespace plimb
