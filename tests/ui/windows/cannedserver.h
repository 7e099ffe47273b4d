#pragma once
// A lobby server on loopback for the download window's tests.
#include <QCryptographicHash>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace plimb::test {

// Answers each request with the raw reply scripted for its path in `replies`, or else with `head`
// and `body` (the checksum file with the right digest of `body`), then closes the connection unless
// `holdOpen` (a body that never ends, for stopping or stalling a download midway).
class CannedServer {
public:
    QByteArray head;
    QByteArray body;
    QMap<QByteArray, QByteArray> replies;
    bool holdOpen = false;
    QList<QByteArray> requests;

    CannedServer() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto* buffer = new QByteArray;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                    buffer->append(socket->readAll());
                    if (!buffer->contains("\r\n\r\n")) return;
                    requests << *buffer;
                    const QByteArray path = buffer->split(' ').value(1);
                    buffer->clear();
                    socket->write(
                        replies.value(path, path.endsWith(".sha256") ? checksumReply() : head + body));
                    if (!holdOpen) socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
                    delete buffer;
                    socket->deleteLater();
                });
            }
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    quint16 port() const { return server_.serverPort(); }

private:
    QByteArray checksumReply() const {
        const QByteArray text = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + "\n";
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(text.size()) + "\r\n\r\n" + text;
    }

    QTcpServer server_;
};

} // namespace plimb::test
