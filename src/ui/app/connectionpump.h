#pragma once
// The game connection and the client model's clocks: bytes from the host are cut into notices
// and queued in the model; the 1 ms Timer1 hands them to the model one per tick, running only
// while the model has work; the 1000 ms turn timer runs while the model has it started. Losing
// the connection is reported once the notices that came before the loss have been shown; the
// window then ends or tries again (reopen).
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <string>

#include "core/client/clientmodel.h"
#include "core/client/clientsink.h"
#include "core/net/framer.h"
#include "core/net/protocol.h"
#include "ui/net/tsock.h"

class QTcpSocket;

namespace plimb {

class ConnectionPump : public QObject, public RequestSink, public ClientTurnTimer {
    Q_OBJECT
public:
    static constexpr std::size_t kMaxQueuedNotices = 100000;
    // Honest notices are short; 4 MiB waiting means a host that floods us with long ones.
    static constexpr std::size_t kMaxQueuedNoticeBytes = 4 * 1024 * 1024;

    // Only keeps `model`: the model may be built after the pump.
    explicit ConnectionPump(ClientModel& model);
    ~ConnectionPump() override;

    // Fixes the local port of the coming connection on the loopback address (see TSock).
    quint16 bindLoopback() { return sock.bindLoopback(); }
    // Starts connecting to `host` on `port`.
    void open(const QString& host, int port = kGamePort);
    // A new connection to the same host after the last one ended or could not be made: the model
    // forgets the old connection.
    void reopen();
    // Gives up the connection being made, without a report.
    void abortAttempt();
    // An extra loopback connection the lobby watches for; nothing is sent or read on it, and a
    // failed connect is silent.
    void openLobbyWatch();
    // Starts Timer1 when the model has work and the timer is not running yet.
    void armTimer1();

    // RequestSink
    void sendRequest(const std::string& text) override;
    // ClientTurnTimer
    void startTurnTimer() override;
    void stopTurnTimer() override;

signals:
    // The model took a tick of one of its timers: the window redraws.
    void modelChanged();
    // The game connection is gone and every notice before its end has been handled.
    void connectionEnded();
    // A connect to `host` on `port` did not get through; `code` and `error` are the transport's
    // report of why (see TSock). Said once per open() or reopen().
    void attemptFailed(const QString& host, int port, int code, const QString& error);

private:
    void sockRead(TSock* sender);
    void sockInfo(TSock* sender, TSocketInfo info, const QString& text);
    void Timer1Timer();

    ClientModel& model_;
    TSock sock;
    QTcpSocket* Sock11 = nullptr;
    Framer framer_;
    QTimer Timer1;
    QTimer turntimer;
    bool connectionLost_ = false;
    bool attemptReported_ = false;
    bool closingQuietly_ = false;
};

} // namespace plimb
