#include "support/qtapp.h"
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/windows/cannedserver.h"
#include "ui/windows/tdownload.h"

namespace plimb {
namespace {

using namespace std::chrono_literals;

QByteArray http(const QByteArray& status, const QByteArray& headers, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "\r\n" + body;
}
QByteArray ok(const QByteArray& body, qsizetype announced = -1) {
    return http("200 OK",
                "Content-Length: " + QByteArray::number(announced < 0 ? body.size() : announced) + "\r\n",
                body);
}
QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

TEST(TdownloadChecks, OnlyTheCompleteVerifiedInstallerFromTheLobbyServerRunsAndNothingElseStays) {
    plimb::test::ensureApplication();
    plimb::test::CannedServer server;
    const QByteArray good = QByteArray("installer bytes ").repeated(4096); // 65536 bytes
    const QByteArray sum = ok(sha256(good) + "  vxlsetup.exe\n");
    const QByteArray stalls = ok(good.left(1000), good.size());
    const QByteArray elsewhere =
        "Location: http://localhost:" + QByteArray::number(server.port()) + "/elsewhere\r\n";
    const struct {
        const char* name;
        QByteArray installer, digest;
        Refusal refusal; // None: the installer runs
        bool hold = false;
        DownloadLimits limits = {};
        QString lobbyServer = {};
    } rows[] = {
        {"right file at the cap", ok(good), sum, Refusal::None, false, {.maxInstallerBytes = good.size()}},
        {"bare upper-case digest", ok(good), ok(sha256(good).toUpper()), Refusal::None},
        {"redirect within the server", http("302 Found", "Location: /elsewhere\r\n", {}), sum, Refusal::None},
        {"wrong checksum", ok("#!/bin/sh\nkill $PPID\n"), sum, Refusal::DigestMismatch},
        {"redirect to another origin", http("302 Found", elsewhere, {}), sum, Refusal::ForeignRedirect},
        {"300 with a body", http("300 Choices", "Content-Length: 65536\r\n", good), sum,
         Refusal::UnexpectedStatus},
        {"404", http("404 Not Found", "Content-Length: 3\r\n", "no\n"), sum, Refusal::ErrorStatus},
        {"truncated", stalls, sum, Refusal::Truncated},
        {"no length", http("200 OK", {}, good), sum, Refusal::NoLength},
        {"stalled", stalls, sum, Refusal::Stalled, true, {.stall = 1s}},
        {"too slow", stalls, sum, Refusal::TooSlow, true, {.total = 1s}},
        {"too large", ok(good), sum, Refusal::TooLarge, false, {.maxInstallerBytes = good.size() - 1}},
        {"empty", ok({}), ok(sha256({})), Refusal::Empty},
        {"checksum missing", ok(good), http("404 Not Found", {}, {}), Refusal::ErrorStatus},
        {"checksum unreadable", ok(good), ok("sha256 please\n"), Refusal::BadDigestFile},
        {"not http", ok(good), sum, Refusal::BadAddress, false, {}, "ftp://127.0.0.1:21"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        server.replies = {{"/lobby/vxlsetup.exe", row.installer},
                          {"/lobby/vxlsetup.exe.sha256", row.digest},
                          {"/elsewhere", ok(good)}};
        server.holdOpen = row.hold;
        QTemporaryDir dir;
        Tdownload window(row.lobbyServer.isEmpty() ? server.base() : row.lobbyServer, dir.path());
        QStringList messages, started;
        window.setMessage([&](const QString& text) { messages << text; });
        window.setStarter([&](const QString& program, const QStringList&) {
            started << program;
            return true;
        });
        window.setLimits(row.limits);
        QSignalSpy closes(&window, &Tdownload::closeGameRequested);
        window.getbuttonClick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.downloading(); }, 30000));

        const bool runs = row.refusal == Refusal::None;
        const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        EXPECT_EQ(files.join('|').toStdString(), runs ? "vxlsetup.exe" : "");
        EXPECT_EQ(started.join('|').toStdString(), runs ? window.installerFile().toStdString() : "");
        EXPECT_EQ(closes.size(), runs ? 1 : 0);
        EXPECT_EQ(messages.join('|').toStdString(),
                  refusalIsReported(row.refusal) ? std::string(refusalText(row.refusal)) : "");
        EXPECT_EQ(window.findChild<QLabel*>("infolabel")->text(),
                  runs ? QStringLiteral("Received %1 bytes").arg(good.size()) : "Download Aborted");
        QFile installer(window.installerFile());
        EXPECT_EQ(installer.open(QIODevice::ReadOnly) ? installer.readAll() : QByteArray(), runs ? good : "");
    }
}

} // namespace
} // namespace plimb
