#pragma once
// TServer: the hidden server of the hosting copy. It owns the listening socket Sock1 (port
// 7772), one TSock per seat, the request queue and its 10 ms socktimer, the 1000 ms turntimer,
// and the core that decides (Server over Game over GameState).
#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/net/framer.h"
#include "ui/net/tsock.h"
#include "core/rules/game.h"
#include "core/rules/gamestate.h"
#include "core/rules/outbox.h"
#include "core/server/server.h"

namespace plimb {

class TDictn;
class Random;

class TServer : public QObject, private Outbox, private TurnTimer {
    Q_OBJECT
public:
    TServer(Random& random, const TDictn& spell, std::vector<std::string> computerWords,
            QObject* parent = nullptr);
    ~TServer() override;

    // Sets Sock1 listening on port 7772; throws ESockException when the port cannot be bound.
    void listen();
    // Keeps seat 1 for the host's own client, whose socket is bound to this loopback port
    // before it connects (TSock::bindLoopback). Call before listen(): from then on a connection
    // is the own client only when it comes from that port on the loopback address, and no
    // other connection can take seat 1, even one that arrives first. Port 0 (the own client
    // could not be bound) reserves nothing.
    void reserveHostSeat(quint16 ownClientPort);
    GameState& state() { return state_; }
    // The computer player for the computer's turns; applies from its next turn (a stored setting).
    void setComputerPlayer(ComputerKind kind) { game_.setComputerPlayer(kind); }
    ComputerKind computerPlayer() const { return game_.computerPlayer(); }
    // The host's menu choice: applies from the next game; false when nothing changed.
    bool chooseComputerPlayer(ComputerKind kind) { return game_.chooseComputerPlayer(kind); }

    // What the table looks like from outside: the connections that hold a seat (the host's own
    // included) and whether a game runs. tableChanged() follows every request, close and turn
    // tick that may have changed it; a listener compares for itself.
    struct Table {
        int seatsTaken = 0;
        bool running = false;
        bool operator==(const Table&) const = default;
    };
    Table table() const;

signals:
    void tableChanged();

private:
    void Sock1Accept();
    void Sock1Read(TSock* sender);
    void tempsockInfo(TSock* sender, TSocketInfo info, const QString& text);
    void socktimerTimer();
    void turntimerTimer();

    // Outbox
    void send(int seat, std::string_view text) override;
    void close(int seat) override;
    void move(int from, int to) override;
    // TurnTimer
    void start() override { turntimer_.start(); }
    void stop() override { turntimer_.stop(); }

    GameState state_;
    Game game_;
    Server server_;
    TSock Sock1;
    std::array<TSock*, kSeatRecords + 1> conns_{};
    std::array<Framer, kSeatRecords + 1> framers_{};
    quint16 ownClientPort_ = 0;
    QTimer socktimer_;
    QTimer turntimer_;
};

} // namespace plimb
