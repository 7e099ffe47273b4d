#pragma once
// TSock: the program's stream socket, a non-blocking TCP connection or listener whose events
// arrive on the user-interface thread. It reports progress through onInfo with fixed texts; the
// program relies on TSocketInfo::Close ("Socket Closed"), which is reported exactly once for every
// close of a connection (by us, by the peer, on destruction, or for a peer that stopped reading)
// and never for closing a listener.
//
// What waits to be written is bounded, both while open and after a close:
//  - Send refuses to let more than kSendBufferCap bytes wait for a peer that does not read. The
//    connection is then aborted on the next turn of the event loop (never inside Send, whose
//    caller may be half-way through a broadcast) and further sends are dropped.
//  - Close lets bytes already queued (a final "CMD_full+", say) leave for kCloseDeadlineMs at
//    most; after that the connection is aborted and its buffer and descriptor are freed.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <stdexcept>

class QTcpServer;
class QTcpSocket;

namespace plimb {

enum class TSocketInfo { Lookup, Connect, Close, Listen, Receive, Send, Accept, Error };

class ESockException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The Windows Sockets style name of an error code ("WSAECONNREFUSED" for 10061).
QString socketErrorName(int code);
// The Error info's text for a code: "Error #10061 (WSAECONNREFUSED)".
QString socketErrorLine(int code);

class TSock : public QObject {
    Q_OBJECT
public:
    // 4 MiB: sixty-four messages of the largest size a framer lets through (64 KiB). An honest
    // peer reads as fast as the game talks, so it is never more than a few short notices behind;
    // nine connections at the cap still cost the host less than 40 MiB.
    static constexpr qint64 kSendBufferCap = 4 * 1024 * 1024;
    static constexpr int kCloseDeadlineMs = 5000;

    explicit TSock(QObject* parent = nullptr);
    ~TSock() override;

    QString HostName;
    QString PortName;
    int Tag = 0;

    // Starts a non-blocking connect to HostName:PortName; completion arrives as onConnect.
    // Returns whether the socket is connected now.
    bool Open();
    // Binds the next Open to the loopback address and a free local port chosen now, so that a
    // listener in this process can tell this connection apart from any other by its port
    // before it arrives. Returns the port, or 0 when the socket exists already or cannot bind.
    quint16 bindLoopback();
    // Starts (true) or stops (false) listening on PortName. Throws ESockException with
    // "Listen - Error Binding Socket" when the port cannot be bound.
    void setListen(bool listen);
    // Takes one waiting connection; the new socket is owned by this listener.
    bool Accept(TSock*& newSock);
    // Queues text for sending. Throws "Send - Socket Not Connected" on a closed socket.
    bool Send(const QByteArray& data);
    QByteArray Receive();
    bool Close();

    bool isConnected() const { return connected_; }
    // The port a listener is bound to (useful when PortName asked for any free port, "0").
    quint16 localPort() const;
    bool isListening() const { return server_ != nullptr; }
    // The remote end of a connection (0 / empty when there is none).
    quint16 peerPort() const;
    bool peerIsLoopback() const;
    // The code of the last Error info (the codes of net/socketerror.h); 0 before any.
    int lastErrorCode() const { return lastErrorCode_; }

signals:
    void onRead(plimb::TSock* sender, int count);
    void onConnect(plimb::TSock* sender);
    void onDisconnect(plimb::TSock* sender);
    void onAccept(plimb::TSock* sender);
    void onInfo(plimb::TSock* sender, plimb::TSocketInfo info, const QString& msg);

private:
    void adopt(QTcpSocket* socket);
    void release();
    void abortOverCap();
    void info(TSocketInfo what, const QString& msg) { emit onInfo(this, what, msg); }

    QTcpSocket* socket_ = nullptr;
    QTcpServer* server_ = nullptr;
    QByteArray receiveBuffer_;
    bool connected_ = false;
    bool overCap_ = false;
    int lastErrorCode_ = 0;
};

} // namespace plimb
