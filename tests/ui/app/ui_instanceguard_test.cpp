// The single-instance guard: where its socket lives, and that only this user's copies count.
#include "support/qtapp.h"
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ui/app/instanceguard.h"

namespace plimb {
namespace {

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

TEST(InstanceGuardFolder, IsTheRuntimeFolderWhenPrivateAndOtherwiseOneOfItsOwn) {
    QTemporaryDir root;
    const QString own = root.filePath(QStringLiteral("plimb-%1").arg(::geteuid()));
    const auto folder = [&root](const char* name, mode_t mode) {
        const QByteArray path = QFile::encodeName(root.filePath(name));
        EXPECT_TRUE(::mkdir(path.constData(), mode) == 0 && ::chmod(path.constData(), mode) == 0);
        return root.filePath(name);
    };
    const QString privateOne = folder("private", 0700);
    ASSERT_TRUE(QFile::link(privateOne, root.filePath("link")));
    EXPECT_EQ(InstanceGuard::privateFolder(privateOne, root.path()), privateOne);
    for (const QString& unsafe :
         {QString(), folder("open", 0755), root.filePath("link"), root.filePath("gone")})
        EXPECT_EQ(InstanceGuard::privateFolder(unsafe, root.path()).toStdString(), own.toStdString());
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0777), 0);
    EXPECT_EQ(InstanceGuard::privateFolder({}, root.path()), own);
    EXPECT_EQ(modeOf(own) & 07777, 0700u) << "left open by someone, closed again";
    ASSERT_TRUE(QDir(own).removeRecursively() && QFile::link(privateOne, own));
    EXPECT_EQ(InstanceGuard::privateFolder({}, root.path()), QString())
        << "a link in place of its own folder";
}

TEST(InstanceGuard, TheSocketIsInTheRuntimeFolderAndOnlyThisUsersCopiesCountEitherWay) {
    plimb::test::ensureApplication();
    QTemporaryDir runtime; // made with mode 0700
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR"), displayBefore = qgetenv("DISPLAY");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("DISPLAY", ":guard-test-" + QByteArray::number(::getpid()));
    int raised = 0;
    const auto waitFor = [](const std::function<bool()>& done) {
        for (const QDeadlineTimer deadline(30000); !done() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        return done();
    };
    {
        InstanceGuard running;
        running.serve([&raised](const QString&) { ++raised; });
        EXPECT_EQ(QFileInfo(InstanceGuard::name()).absolutePath(), runtime.path());
        EXPECT_TRUE(S_ISSOCK(modeOf(InstanceGuard::name())));
        EXPECT_FALSE(InstanceGuard(::geteuid() + 1, nullptr).otherInstanceRunning())
            << "another user's listener is no copy of ours";
        EXPECT_TRUE(InstanceGuard().otherInstanceRunning());
        ASSERT_TRUE(waitFor([&raised] { return raised > 0; }));
        EXPECT_EQ(raised, 1) << "the stranger's look asked for nothing";
    }
    InstanceGuard running(::geteuid() + 1, nullptr); // to it, this process is another user's
    running.serve([&raised](const QString&) { ++raised; });
    for (const char* request : {"raise\n", "link plimb://host.example\n"}) {
        QLocalSocket peer;
        peer.connectToServer(InstanceGuard::name());
        ASSERT_TRUE(peer.waitForConnected(30000));
        peer.write(request);
        EXPECT_TRUE(waitFor([&peer] { return peer.state() == QLocalSocket::UnconnectedState; }));
        EXPECT_EQ(raised, 1) << request << "from another user is turned away";
    }
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    qputenv("DISPLAY", displayBefore);
}

TEST(InstanceGuard, ASecondCopyHandsItsLinkOverAndOnlyAWholeRequestIsHeard) {
    plimb::test::ensureApplication();
    QTemporaryDir runtime;
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR"), displayBefore = qgetenv("DISPLAY");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("DISPLAY", ":guard-link-" + QByteArray::number(::getpid()));
    std::vector<QString> heard;
    InstanceGuard running;
    running.serve([&heard](const QString& link) { heard.push_back(link); });
    using plimb::test::pumpUntil;
    const QString overlong = "plimb://" + QString(400, 'a');
    const std::pair<QString, QString> copies[] = {{"plimb://[::1]:7000", "plimb://[::1]:7000"},
                                                  {"plimb://a\nb.example\n", "plimb://a b.example "},
                                                  {overlong, overlong.left(301)}};
    for (const auto& [link, sent] : copies) {
        QProcess second; // inherits the folder and the display set above
        second.start(PLIMB_GUARD_SECOND_COPY, {link});
        ASSERT_TRUE(pumpUntil([&] { return !heard.empty() && second.state() == QProcess::NotRunning; }));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(heard, std::vector<QString>{sent});
        heard.clear();
    }

    // Dropped unheard: no line within the room a request has, an unknown request, and a request
    // left unfinished, which the running copy ends after a few seconds.
    for (const QByteArray& request :
         {"link " + QByteArray(400, 'a') + "\n", QByteArray("quit\n"), QByteArray("link plimb://h")}) {
        QLocalSocket peer;
        peer.connectToServer(InstanceGuard::name());
        ASSERT_TRUE(peer.waitForConnected(30000));
        peer.write(request);
        EXPECT_TRUE(pumpUntil([&peer] { return peer.state() == QLocalSocket::UnconnectedState; }));
        EXPECT_TRUE(heard.empty()) << request.left(20).constData();
    }
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    qputenv("DISPLAY", displayBefore);
}

} // namespace
} // namespace plimb
