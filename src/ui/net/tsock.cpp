#include "ui/net/tsock.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <map>

#include "core/net/socketerror.h"

namespace plimb {
namespace {

// Qt reports an unreachable network, an unreachable host and a connect the system timed out all
// as NetworkError; only its text tells them apart. The program installs no translation of Qt's
// texts, so these are the English ones it sets.
int networkErrorCode(const QString& text) {
    if (text == QLatin1String("Network unreachable")) return kSockNetUnreachable;
    if (text == QLatin1String("Host unreachable")) return kSockHostUnreachable;
    if (text == QLatin1String("Connection timed out")) return kSockTimedOut;
    return kSockNetDown;
}

int errorCode(QAbstractSocket::SocketError error, const QString& text) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return kSockRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return kSockHostNotFound;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return kSockTimedOut;
    case QAbstractSocket::NetworkError:
        return networkErrorCode(text);
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    default:
        return 10000 + static_cast<int>(error) + 1000;
    }
}

} // namespace

QString socketErrorLine(int code) {
    return QStringLiteral("Error #%1 (%2)").arg(code).arg(socketErrorName(code));
}

QString socketErrorName(int code) {
    static const std::map<int, const char*> names{
        {10004, "WSAEINTR"},           {10009, "WSAEBADF"},          {10013, "WSAEACCES"},
        {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},         {10024, "WSAEMFILE"},
        {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},    {10037, "WSAEALREADY"},
        {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"},   {10040, "WSAEMSGSIZE"},
        {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},    {10043, "WSAEPROTONOSUPPORT"},
        {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},     {10046, "WSAEPFNOSUPPORT"},
        {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},     {10049, "WSAEADDRNOTAVAIL"},
        {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},    {10052, "WSAENETRESET"},
        {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},     {10055, "WSAENOBUFS"},
        {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},       {10058, "WSAESHUTDOWN"},
        {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},      {10061, "WSAECONNREFUSED"},
        {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"},   {10064, "WSAEHOSTDOWN"},
        {10065, "WSAEHOSTUNREACH"},    {10091, "WSASYSNOTREADY"},    {10092, "WSAVERNOTSUPPORTED"},
        {10093, "WSANOTINITIALISED"},  {11001, "WSAHOST_NOT_FOUND"}, {11002, "WSATRY_AGAIN"},
        {11003, "WSANO_RECOVERY"},     {11004, "WSANO_DATA"},
    };
    const auto it = names.find(code);
    return it == names.end() ? QStringLiteral("UNKNOWN ERROR") : QString::fromLatin1(it->second);
}

TSock::TSock(QObject* parent) : QObject(parent) {}

TSock::~TSock() {
    // A connection freed while open still reports its close, once.
    if (socket_) Close();
    release();
}

void TSock::adopt(QTcpSocket* socket) {
    socket_ = socket;
    socket_->setParent(this);
    connect(socket_, &QTcpSocket::connected, this, [this] {
        connected_ = true;
        info(TSocketInfo::Connect, QStringLiteral("Non-Blocking Socket Connected"));
        emit onConnect(this);
    });
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray bytes = socket_->readAll();
        if (bytes.isEmpty()) return;
        receiveBuffer_.append(bytes);
        info(TSocketInfo::Receive, QStringLiteral("Non-Blocking Incoming Data"));
        emit onRead(this, static_cast<int>(receiveBuffer_.size()));
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        // The peer closed: tell the owner, then close ourselves (which reports "Socket Closed").
        emit onDisconnect(this);
        if (socket_) Close();
    });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // Errors are only reported; a refused connect leaves the socket as it was. A peer that
        // goes away also shows up as `disconnected`, which does the closing.
        if (error == QAbstractSocket::RemoteHostClosedError) return;
        lastErrorCode_ = errorCode(error, socket_->errorString());
        info(TSocketInfo::Error, socketErrorLine(lastErrorCode_));
    });
}

void TSock::release() {
    if (socket_) {
        socket_->disconnect(this);
        // Let bytes still queued (a final "CMD_full+", say) reach the peer before the socket goes,
        // but only for a while: a peer that does not read must not keep them forever.
        if (!overCap_ && socket_->state() == QAbstractSocket::ConnectedState && socket_->bytesToWrite() > 0) {
            QTcpSocket* leaving = socket_;
            connect(leaving, &QTcpSocket::disconnected, leaving, &QObject::deleteLater);
            leaving->setParent(nullptr);
            QTimer::singleShot(kCloseDeadlineMs, leaving, [leaving] {
                leaving->abort();
                leaving->deleteLater();
            });
            leaving->disconnectFromHost();
        } else {
            socket_->abort();
            socket_->deleteLater();
        }
        socket_ = nullptr;
    }
    if (server_) {
        server_->close();
        server_->deleteLater();
        server_ = nullptr;
    }
}

quint16 TSock::localPort() const {
    return server_ ? server_->serverPort() : 0;
}

bool TSock::Open() {
    if (socket_ && socket_->state() != QAbstractSocket::BoundState) return connected_;
    if (!socket_) adopt(new QTcpSocket(this));
    info(TSocketInfo::Lookup, QStringLiteral("Lookup Of Host ") + HostName);
    socket_->connectToHost(HostName, PortName.toUShort());
    return false;
}

quint16 TSock::bindLoopback() {
    if (socket_ || server_) return 0;
    auto* socket = new QTcpSocket(this);
    if (!socket->bind(QHostAddress(QHostAddress::LocalHost), 0)) {
        delete socket;
        return 0;
    }
    adopt(socket);
    return socket_->localPort();
}

quint16 TSock::peerPort() const {
    return socket_ ? socket_->peerPort() : 0;
}

bool TSock::peerIsLoopback() const {
    return socket_ && socket_->peerAddress().isLoopback();
}

void TSock::setListen(bool listen) {
    if (listen) {
        if (server_) {
            info(TSocketInfo::Listen, QStringLiteral("Listening Already Running"));
            return;
        }
        if (socket_) throw ESockException("Listen - Socket Already In Use");
        auto* server = new QTcpServer(this);
        server->setListenBacklogSize(5);
        if (!server->listen(QHostAddress::Any, PortName.toUShort())) {
            delete server;
            throw ESockException("Listen - Error Binding Socket");
        }
        server_ = server;
        connect(server_, &QTcpServer::newConnection, this, [this] { emit onAccept(this); });
        info(TSocketInfo::Listen, QStringLiteral("Listening Started"));
    } else {
        if (!server_) return;
        release();
        info(TSocketInfo::Listen, QStringLiteral("Listening Stopped"));
    }
}

bool TSock::Accept(TSock*& newSock) {
    if (!server_) throw ESockException("Accept - Socket Not In Listening Mode");
    QTcpSocket* pending = server_->nextPendingConnection();
    if (!pending) {
        info(TSocketInfo::Accept, QStringLiteral("Could Not Accept Connection"));
        return false;
    }
    auto* sock = new TSock(this);
    sock->PortName = PortName;
    sock->HostName = pending->peerAddress().toString();
    sock->adopt(pending);
    sock->connected_ = true;
    newSock = sock;
    info(TSocketInfo::Accept, QStringLiteral("Created New TSock Structure"));
    // Bytes that arrived before we took the connection are delivered like any later read.
    if (pending->bytesAvailable() > 0) QMetaObject::invokeMethod(pending, "readyRead", Qt::QueuedConnection);
    return true;
}

bool TSock::Send(const QByteArray& data) {
    if (server_) throw ESockException("Send - Cannot Send On A Listener Socket");
    if (!socket_) throw ESockException("Send - Socket Not Connected");
    if (data.isEmpty()) return true;
    if (overCap_) return false;
    if (socket_->bytesToWrite() + data.size() > kSendBufferCap) {
        overCap_ = true;
        QMetaObject::invokeMethod(this, &TSock::abortOverCap, Qt::QueuedConnection);
        return false;
    }
    info(TSocketInfo::Send, QStringLiteral("Non-Blocking Outgoing Data"));
    socket_->write(data);
    return true;
}

void TSock::abortOverCap() {
    // The connection may have closed in the meantime; its close was reported then.
    if (socket_ && overCap_) Close();
}

QByteArray TSock::Receive() {
    if (server_) throw ESockException("Receive - Cannot Receive On A Listener Socket");
    if (!socket_ && receiveBuffer_.isEmpty()) throw ESockException("Receive - Socket Not Connected");
    QByteArray out;
    out.swap(receiveBuffer_);
    return out;
}

bool TSock::Close() {
    const bool wasConnection = socket_ != nullptr;
    release();
    connected_ = false;
    overCap_ = false;
    if (wasConnection) info(TSocketInfo::Close, QStringLiteral("Socket Closed"));
    return true;
}

} // namespace plimb
