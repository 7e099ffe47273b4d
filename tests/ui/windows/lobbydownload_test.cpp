#include "support/qtapp.h"
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/windows/cannedserver.h"
#include "ui/windows/lobbydownload.h"

namespace plimb {
namespace {

QByteArray ok(const QByteArray& body, qsizetype announced) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(announced) + "\r\n\r\n" + body;
}

// One download object for every row: an outcome reported twice shows up in the count of the rows
// that follow it.
TEST(LobbyDownload, EveryStartEndsInExactlyOneOutcome) {
    plimb::test::ensureApplication();
    plimb::test::CannedServer server;
    server.body = QByteArray("installer bytes ").repeated(4096);
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    const QString nobody = QStringLiteral("http://127.0.0.1:%1").arg(gone.serverPort());
    gone.close();
    // What happens to the download besides the server's reply.
    enum class Then { Wait, NoFolder, RemoveFolder, StopOnData };
    const QByteArray whole = ok(server.body, server.body.size());
    const QByteArray cut = ok(server.body.left(1000), server.body.size());
    const struct {
        const char* name;
        QByteArray installer;
        Then then = Then::Wait;
        std::string message = {}; // for a failure: in full, or with the system's reason after it
        bool withReason = false;
        QString base = {};
    } rows[] = {
        {"cannot create", whole, Then::NoFolder, "Cannot create file", true},
        {"cut connection", cut, Then::Wait, std::string(refusalText(Refusal::Truncated))},
        {"error status", "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno"},
        {"cannot write", whole, Then::RemoveFolder, "Cannot write file", true},
        {"no server", {}, Then::Wait, std::string(refusalText(Refusal::TransportError)) + " ", true, nobody},
        {"stopped", cut, Then::StopOnData},
        {"done", whole},
    };
    LobbyDownload download;
    QSignalSpy outcomes(&download, &LobbyDownload::finished);
    QSignalSpy received(&download, &LobbyDownload::received);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        server.replies = {{"/lobby/vxlsetup.exe", row.installer}};
        server.holdOpen = row.then == Then::StopOnData;
        QTemporaryDir dir;
        const QString target =
            dir.filePath(row.then == Then::NoFolder ? "no/such/vxlsetup.exe" : "vxlsetup.exe");
        const QString base = row.base.isEmpty() ? server.base() : row.base;
        const qsizetype before = outcomes.size();
        received.clear();
        download.start(QUrl(base + "/lobby/vxlsetup.exe"), QUrl(base + "/lobby/vxlsetup.exe.sha256"), target);
        if (row.then == Then::RemoveFolder) {
            ASSERT_TRUE(dir.remove());
        }
        if (row.then == Then::StopOnData) {
            ASSERT_TRUE(received.wait(30000));
            download.stop();
        }
        ASSERT_TRUE(outcomes.size() > before || outcomes.wait(30000));
        ASSERT_EQ(outcomes.size(), before + 1);
        EXPECT_FALSE(download.running());

        const auto outcome = outcomes.last().at(0).value<DownloadOutcome>();
        const bool done = &row == std::end(rows) - 1; // only the last row gets its installer
        EXPECT_EQ(outcome.done, done);
        EXPECT_EQ(QFileInfo::exists(target), done);
        if (done) {
            EXPECT_EQ(outcome.file, target.toStdString());
            EXPECT_EQ(outcome.bytes, server.body.size());
        }
        std::string expected = row.message;
        if (row.message.starts_with("Cannot")) expected += " \"" + target.toStdString() + "\". ";
        if (row.withReason) {
            EXPECT_TRUE(outcome.message.starts_with(expected)) << outcome.message;
            EXPECT_GT(outcome.message.size(), expected.size()) << "the system's reason follows";
        } else {
            EXPECT_EQ(outcome.message, expected);
        }
    }
}

} // namespace
} // namespace plimb
