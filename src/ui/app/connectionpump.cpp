#include "ui/app/connectionpump.h"

#include <QByteArray>
#include <QTcpSocket>
#include <string_view>
#include <utility>
#include <vector>

#include "core/net/protocol.h"

namespace plimb {

ConnectionPump::ConnectionPump(ClientModel& model) : model_(model) {
    sock.PortName = QString::number(kGamePort);
    connect(&sock, &TSock::onRead, this, [this](TSock* s, int) { sockRead(s); });
    connect(&sock, &TSock::onInfo, this, &ConnectionPump::sockInfo);

    // Timer1 runs only while notices wait or the phrase cool-down counts.
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &ConnectionPump::Timer1Timer);
    turntimer.setInterval(1000);
    connect(&turntimer, &QTimer::timeout, this, [this] {
        model_.turntimerTimer();
        emit modelChanged();
    });
}

ConnectionPump::~ConnectionPump() {
    // The socket says "Socket Closed" as it goes; nobody is left to hear it.
    sock.disconnect(this);
}

void ConnectionPump::open(const QString& host, int port) {
    sock.HostName = host;
    sock.PortName = QString::number(port);
    attemptReported_ = false;
    sock.Open();
}

void ConnectionPump::reopen() {
    abortAttempt();
    attemptReported_ = false;
    connectionLost_ = false;
    framer_ = Framer{};
    model_.restartConnection();
    sock.Open();
}

void ConnectionPump::abortAttempt() {
    closingQuietly_ = true;
    sock.Close();
    closingQuietly_ = false;
}

void ConnectionPump::openLobbyWatch() {
    Sock11 = new QTcpSocket(this);
    Sock11->connectToHost(QStringLiteral("127.0.0.1"), 9001);
}

void ConnectionPump::sockRead(TSock* sender) {
    const QByteArray bytes = sender->Receive();
    std::vector<std::string> messages;
    const bool ok =
        framer_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), messages);
    for (auto& m : messages)
        model_.received(std::move(m));
    // The queue drains one notice per tick; a host that outruns it by this much is broken or
    // hostile, and ending the connection is the only bound on our memory.
    if (!ok || model_.queue().size() > kMaxQueuedNotices || model_.queue().bytes() > kMaxQueuedNoticeBytes)
        sender->Close();
    armTimer1();
}

void ConnectionPump::sockInfo(TSock*, TSocketInfo info, const QString& text) {
    // A connect that fails only reports an error; the window has to hear of it, or the user would
    // wait for the loading line forever.
    if (info == TSocketInfo::Error && !sock.isConnected()) {
        if (attemptReported_) return;
        attemptReported_ = true;
        emit attemptFailed(sock.HostName, sock.PortName.toInt(), sock.lastErrorCode(), text);
        return;
    }
    // Losing the game connection ends the program, once the notices that came before the close
    // have been shown (a refused client must still see "Game is full").
    if (info != TSocketInfo::Close || closingQuietly_) return;
    connectionLost_ = true;
    if (model_.queue().empty())
        emit connectionEnded();
    else
        armTimer1();
}

void ConnectionPump::armTimer1() {
    if (model_.timer1Needed() && !Timer1.isActive()) Timer1.start();
}

void ConnectionPump::Timer1Timer() {
    model_.timer1Timer();
    emit modelChanged();
    if (connectionLost_ && model_.queue().empty()) emit connectionEnded();
    if (!model_.timer1Needed()) Timer1.stop();
}

void ConnectionPump::sendRequest(const std::string& text) {
    if (!sock.isConnected()) return;
    sock.Send(QByteArray::fromStdString(frame(text)));
}

void ConnectionPump::startTurnTimer() {
    // Starting a running timer would restart its rhythm; keep it.
    if (!turntimer.isActive()) turntimer.start();
}

void ConnectionPump::stopTurnTimer() {
    turntimer.stop();
}

} // namespace plimb
