#pragma once
// TSock: the program's stream socket, a non-blocking TCP connection or listener whose events
// arrive on the user-interface thread. It reports progress through onInfo with fixed texts; the
// program relies on "Socket Closed", which is reported exactly once for every close of a
// connection (by us, by the peer, or on destruction) and never for closing a listener.
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

class TSock : public QObject {
    Q_OBJECT
public:
    explicit TSock(QObject* parent = nullptr);
    ~TSock() override;

    QString HostName;
    QString PortName;
    int Tag = 0;

    // Starts a non-blocking connect to HostName:PortName; completion arrives as onConnect.
    // Returns whether the socket is connected now.
    bool Open();
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

signals:
    void onRead(plimb::TSock* sender, int count);
    void onConnect(plimb::TSock* sender);
    void onDisconnect(plimb::TSock* sender);
    void onAccept(plimb::TSock* sender);
    void onInfo(plimb::TSock* sender, plimb::TSocketInfo info, const QString& msg);

private:
    void adopt(QTcpSocket* socket);
    void release();
    void info(TSocketInfo what, const QString& msg) { emit onInfo(this, what, msg); }

    QTcpSocket* socket_ = nullptr;
    QTcpServer* server_ = nullptr;
    QByteArray receiveBuffer_;
    bool connected_ = false;
};

} // namespace plimb
