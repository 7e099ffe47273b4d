#include "ui/server/tserver.h"

#include <QDateTime>

#include "core/net/protocol.h"

namespace plimb {

TServer::TServer(Random& random, const TDictn& spell, std::vector<std::string> computerWords, QObject* parent)
    : QObject(parent), game_(state_, *this, random, *this, spell, std::move(computerWords)),
      server_(state_, *this, game_) {
    // Each run of the host names its games apart from an earlier run's, so a player who comes
    // back after the host started over is told the game it left is gone.
    state_.session = QDateTime::currentMSecsSinceEpoch();
    Sock1.PortName = QString::number(kGamePort);
    connect(&Sock1, &TSock::onAccept, this, [this](TSock*) { Sock1Accept(); });
    // Armed only while requests wait, so an idle host costs no wake-ups.
    socktimer_.setInterval(10);
    connect(&socktimer_, &QTimer::timeout, this, &TServer::socktimerTimer);
    turntimer_.setInterval(1000);
    connect(&turntimer_, &QTimer::timeout, this, &TServer::turntimerTimer);
}

TServer::~TServer() {
    // The connections outlive our members during destruction; silence them first so their
    // closing reports never reach a half-destroyed core.
    for (TSock* sock : conns_)
        if (sock) sock->disconnect(this);
    Sock1.disconnect(this);
}

void TServer::listen() {
    Sock1.setListen(true);
}

void TServer::reserveHostSeat(quint16 ownClientPort) {
    if (ownClientPort == 0) return;
    ownClientPort_ = ownClientPort;
    server_.reserveHostSeat();
}

void TServer::Sock1Accept() {
    TSock* sock = nullptr;
    while (Sock1.Accept(sock)) {
        const bool ownClient =
            ownClientPort_ != 0 && sock->peerIsLoopback() && sock->peerPort() == ownClientPort_;
        // A seat's socket is unbound the moment its close is reported, before the seat is free.
        const int seat = server_.pickSeat(ownClient);
        sock->Tag = seat;
        conns_[seat] = sock;
        framers_[seat] = Framer();
        connect(sock, &TSock::onRead, this, [this](TSock* s, int) { Sock1Read(s); });
        connect(sock, &TSock::onInfo, this, &TServer::tempsockInfo);
        // Bound to the socket, so a deadline never reaches a later connection in the same seat.
        QTimer::singleShot(Server::kLoginSeconds * 1000, sock, [this, sock] {
            const int s = sock->Tag;
            if (s >= 1 && s <= kSeatRecords && conns_[s] == sock) server_.loginDeadline(s);
        });
        server_.connectionAccepted(seat);
        sock = nullptr;
    }
}

void TServer::Sock1Read(TSock* sender) {
    const int seat = sender->Tag;
    if (seat < 1 || seat > kSeatRecords || conns_[seat] != sender) return;
    const QByteArray bytes = sender->Receive();
    std::vector<std::string> messages;
    const bool ok = framers_[seat].feed(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), messages);
    for (auto& m : messages)
        server_.received(seat, std::move(m));
    if (!ok) sender->Close();
    if (server_.hasQueuedRequests() && !socktimer_.isActive()) socktimer_.start();
}

void TServer::tempsockInfo(TSock* sender, TSocketInfo info, const QString&) {
    if (info != TSocketInfo::Close) return;
    const int seat = sender->Tag;
    // Only the connection that holds a record reports for it: a connection replaced in its seat
    // must not free the seat of the one that replaced it.
    if (seat < 1 || seat > kSeatRecords || conns_[seat] != sender) return;
    conns_[seat] = nullptr;
    sender->disconnect(this);
    sender->deleteLater();
    server_.connectionClosed(seat);
    emit tableChanged();
}

TServer::Table TServer::table() const {
    Table t;
    for (int seat = 1; seat <= kMaxSeats; ++seat)
        if (state_.seats[seat].inuse) ++t.seatsTaken;
    t.running = state_.gamerunning;
    return t;
}

void TServer::socktimerTimer() {
    server_.socktimerTimer();
    if (!server_.hasQueuedRequests()) socktimer_.stop();
    emit tableChanged();
}

void TServer::turntimerTimer() {
    game_.turntimerTimer();
    emit tableChanged();
}

void TServer::send(int seat, std::string_view text) {
    if (seat < 1 || seat > kSeatRecords || !conns_[seat]) return;
    conns_[seat]->Send(QByteArray::fromStdString(frame(text)));
}

void TServer::close(int seat) {
    if (seat < 1 || seat > kSeatRecords || !conns_[seat]) return;
    conns_[seat]->Close();
}

void TServer::move(int from, int to) {
    if (from < 1 || from > kSeatRecords || to < 1 || to > kSeatRecords || !conns_[from] || conns_[to]) return;
    conns_[to] = std::exchange(conns_[from], nullptr);
    conns_[to]->Tag = to;
    framers_[to] = std::exchange(framers_[from], Framer());
}

} // namespace plimb
