// TSock over real loopback sockets: the info reports the program relies on.
#include "ui/net/tsock.h"

#include <gtest/gtest.h>

#include "support/qtapp.h"

using namespace plimb;

namespace {

using plimb::test::pumpUntil;

struct Infos {
    void watch(TSock& s) {
        QObject::connect(&s, &TSock::onInfo,
                         [this](TSock*, TSocketInfo, const QString& text) { texts << text; });
    }
    int count(const QString& text) const { return static_cast<int>(texts.count(text)); }
    QStringList texts;
};

class TSockTest : public ::testing::Test {
protected:
    void SetUp() override {
        plimb::test::ensureApplication();
        // Any free port, so these tests never meet each other or the game's port.
        listener.PortName = QStringLiteral("0");
        listener.setListen(true);
        port = QString::number(listener.localPort());
        QObject::connect(&listener, &TSock::onAccept, [this](TSock*) {
            TSock* s = nullptr;
            if (listener.Accept(s)) accepted = s;
        });
        client.HostName = QStringLiteral("127.0.0.1");
        client.PortName = port;
        clientInfos.watch(client);
        ASSERT_FALSE(client.Open()) << "a non-blocking connect completes later";
        ASSERT_TRUE(pumpUntil([this] { return client.isConnected() && accepted; }));
        acceptedInfos.watch(*accepted);
    }

    // Declared first so they outlive the sockets, which still report their close when freed.
    Infos clientInfos, acceptedInfos;
    TSock listener;
    TSock client;
    TSock* accepted = nullptr;
    QString port;
};

TEST_F(TSockTest, BytesArriveWholeAndInOrder) {
    QByteArray got;
    QObject::connect(accepted, &TSock::onRead, [&](TSock* s, int) { got += s->Receive(); });
    client.Send("CMD_a+1\xff");
    client.Send("CMD_b+2\xff");
    ASSERT_TRUE(pumpUntil([&] { return got.size() == 16; }));
    EXPECT_EQ(got, QByteArray("CMD_a+1\xff"
                              "CMD_b+2\xff"));
    EXPECT_EQ(clientInfos.count("Non-Blocking Socket Connected"), 1);
}

TEST_F(TSockTest, ClosingReportsSocketClosedExactlyOnceOnEachSide) {
    bool peerGone = false;
    QObject::connect(accepted, &TSock::onDisconnect, [&](TSock*) { peerGone = true; });
    client.Close();
    client.Close();
    EXPECT_EQ(clientInfos.count("Socket Closed"), 1);
    ASSERT_TRUE(pumpUntil([&] { return acceptedInfos.count("Socket Closed") == 1; }));
    EXPECT_TRUE(peerGone);
    QCoreApplication::processEvents();
    EXPECT_EQ(acceptedInfos.count("Socket Closed"), 1);
    EXPECT_THROW(client.Send("x"), ESockException) << "Send - Socket Not Connected";
}

TEST_F(TSockTest, ClosingAListenerReportsNoSocketClosed) {
    Infos listenerInfos;
    listenerInfos.watch(listener);
    listener.setListen(false);
    EXPECT_EQ(listenerInfos.count("Socket Closed"), 0);
    EXPECT_EQ(listenerInfos.count("Listening Stopped"), 1);
    listener.disconnect();
}

TEST_F(TSockTest, ABusyPortCannotBeBound) {
    TSock second;
    second.PortName = port;
    try {
        second.setListen(true);
        FAIL() << "the port is taken";
    } catch (const ESockException& e) {
        EXPECT_STREQ(e.what(), "Listen - Error Binding Socket");
    }
}

TEST(TSockErrors, ARefusedConnectIsOnlyReported) {
    plimb::test::ensureApplication();
    Infos infos;
    TSock client;
    infos.watch(client);
    client.HostName = QStringLiteral("127.0.0.1");
    client.PortName = QStringLiteral("1"); // nothing listens there
    client.Open();
    ASSERT_TRUE(pumpUntil([&] { return infos.count("Error #10061 (WSAECONNREFUSED)") == 1; }));
    EXPECT_EQ(infos.count("Socket Closed"), 0);
    EXPECT_EQ(socketErrorName(11001), "WSAHOST_NOT_FOUND");
    EXPECT_EQ(socketErrorName(42), "UNKNOWN ERROR");
}

} // namespace
