#include "support/qtapp.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <cstdlib>
#include <gtest/gtest.h>

#include "ui/windows/cannedserver.h"
#include "ui/windows/tabout.h"
#include "ui/windows/tdownload.h"
#include "ui/windows/thelp.h"
#include "ui/common/windowplacement.h"
#include "ui/windows/ttallylist.h"

namespace plimb {
namespace {

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

using plimb::test::CannedServer;

QByteArray okHead(qsizetype length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           QByteArray::number(length) + "\r\nConnection: close\r\n\r\n";
}

class TdownloadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void make(const QString& folder) {
        window = std::make_unique<Tdownload>(server.base(), folder);
        window->setMessage([this](const QString& text) { messages << text; });
        window->setStarter([this](const QString& program, const QStringList& args) {
            started << (QStringList{program} + args);
            return startSucceeds;
        });
        window->setFinder([this](const QString& name) {
            lookedFor << name;
            return installedLobby;
        });
        closes = std::make_unique<QSignalSpy>(window.get(), &Tdownload::closeGameRequested);
        window->showCentred();
    }
    QString label(const char* name) { return child<QLabel>(*window, name)->text(); }
    QPushButton* button(const char* name) { return child<QPushButton>(*window, name); }
    bool idle() { return button("getbutton")->isEnabled() && !button("abortbutton")->isEnabled(); }
    // Clicks "Download And Install ..." and waits until the buttons are back to idle.
    void downloadToEnd() {
        QTest::mouseClick(button("getbutton"), Qt::LeftButton);
        ASSERT_TRUE(window->downloading());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->downloading(); }, 30000));
    }

    QTemporaryDir dir;
    CannedServer server;
    std::unique_ptr<Tdownload> window;
    std::unique_ptr<QSignalSpy> closes;
    QStringList messages;
    QList<QStringList> started;
    QStringList lookedFor;
    bool startSucceeds = true;
    QString installedLobby;
};

TEST_F(TdownloadTest, ADownloadFetchesTheInstallerMakesItExecutableAndStartsIt) {
    for (const bool starts : {true, false}) {
        SCOPED_TRACE(starts ? "installer starts" : "installer fails to start");
        QByteArray installer(70000, '\0');
        for (qsizetype i = 0; i < installer.size(); ++i)
            installer[i] = static_cast<char>(i * 7 % 251);
        server.head = okHead(installer.size());
        server.body = installer;
        startSucceeds = starts;
        started.clear();
        messages.clear();
        make(dir.path());
        EXPECT_EQ(window->windowTitle(), "Download The Vexo42 Lobby");
        EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(idle());

        downloadToEnd();
        const QString path = dir.filePath("vxlsetup.exe");
        ASSERT_FALSE(server.requests.isEmpty());
        const QByteArray request = server.requests.last();
        EXPECT_TRUE(request.startsWith("GET /lobby/vxlsetup.exe HTTP/1.")) << request.constData();
        EXPECT_TRUE(request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible)\r\n"));
        EXPECT_TRUE(
            request.contains("\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"));

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), installer);
        EXPECT_TRUE(QFileInfo(path).isExecutable());
        EXPECT_EQ(label("infolabel"), "Received 70000 bytes");
        EXPECT_EQ(label("infolabel3"), "Installing");
        EXPECT_TRUE(idle());
        ASSERT_EQ(started.size(), 1);
        EXPECT_EQ(started[0], (QStringList{path, "/SP-", "/silent", "/noicons"}));
        EXPECT_EQ(closes->size(), starts ? 1 : 0);
        EXPECT_EQ(messages, starts ? QStringList{} : QStringList{"An Error has Occurred."});
    }
}

TEST_F(TdownloadTest, AnErrorStatusFailsAndKeepsAnEarlierInstaller) {
    QFile old(dir.filePath("vxlsetup.exe"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier installer");
    old.close();
    for (const int status : {400, 404, 500}) {
        SCOPED_TRACE(status);
        server.body = "<html>not here</html>";
        server.head = "HTTP/1.1 " + QByteArray::number(status) +
                      " Error\r\nContent-Length: " + QByteArray::number(server.body.size()) +
                      "\r\nConnection: close\r\n\r\n";
        make(dir.path());
        downloadToEnd();
        EXPECT_EQ(label("infolabel"), "Download Aborted");
        EXPECT_TRUE(idle());
        EXPECT_TRUE(started.isEmpty());
        EXPECT_EQ(closes->size(), 0);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "earlier installer");
        old.close();
    }
}

TEST_F(TdownloadTest, StopDuringTheBodyRunsNoInstallerAndLeavesNoPartialFile) {
    server.head = okHead(1000000);
    server.body = QByteArray(4000, 'x');
    server.holdOpen = true;
    make(dir.path());
    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    EXPECT_FALSE(button("getbutton")->isEnabled());
    EXPECT_TRUE(button("abortbutton")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return label("infolabel").endsWith(" bytes"); }, 30000));
    EXPECT_EQ(label("infolabel3"), "Downloading: vxlsetup.exe");

    QTest::mouseClick(button("abortbutton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->downloading(); }, 30000));
    EXPECT_EQ(label("infolabel3"), "Download Aborted");
    EXPECT_TRUE(idle());
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(closes->size(), 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("vxlsetup.exe")));
}

TEST_F(TdownloadTest, AFileThatCannotBeCreatedIsReportedAndNothingIsRequested) {
    server.head = okHead(3);
    server.body = "abc";
    make(dir.filePath("no/such/folder"));
    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    EXPECT_FALSE(window->downloading());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot create file")) << messages[0].toStdString();
    EXPECT_EQ(label("infolabel"), "Download Aborted");
    EXPECT_TRUE(idle());
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(TdownloadTest, PlayButtonsOpenTheLobbyOrJustHideTheWindow) {
    struct Row {
        const char* button;
        QString installed;
        bool starts;
        QStringList expectMessages;
        int expectCloses;
        bool expectVisible;
    };
    const QString missing =
        QStringLiteral("Please close the game and open the Vexo42 Lobby using the icon on your "
                       "desktop or using the your Window's start-up menu.");
    const Row rows[] = {
        {"Button1", {}, true, {}, 0, false},
        {"Button2", {}, true, {missing}, 0, true},
        {"Button2", "/opt/lobby/vexo42lobby", true, {}, 1, true},
        {"Button2", "/opt/lobby/vexo42lobby", false, {"An Error has Occurred."}, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.button) + " " + row.installed.toStdString());
        messages.clear();
        started.clear();
        installedLobby = row.installed;
        startSucceeds = row.starts;
        make(dir.path());
        QTest::mouseClick(button(row.button), Qt::LeftButton);
        EXPECT_EQ(messages, row.expectMessages);
        EXPECT_EQ(closes->size(), row.expectCloses);
        EXPECT_EQ(window->isVisible(), row.expectVisible);
        if (!row.installed.isEmpty()) {
            EXPECT_EQ(started, (QList<QStringList>{{row.installed}}));
        }
    }
    EXPECT_EQ(lookedFor.value(0), "vexo42lobby");
}

TEST(TdownloadAddress, TheInstallerPathIsAddedToTheLobbyServer) {
    test::ensureApplication();
    const struct {
        QString base;
        QString url;
    } rows[] = {
        {"http://lobby.example.org:8099", "http://lobby.example.org:8099/lobby/vxlsetup.exe"},
        {"http://lobby.example.org/", "http://lobby.example.org/lobby/vxlsetup.exe"},
        {"lobby.example.org", "http://lobby.example.org/lobby/vxlsetup.exe"},
        {"", QString::fromLatin1(Tdownload::kDefaultLobbyServer) + "/lobby/vxlsetup.exe"},
    };
    for (const auto& row : rows) {
        Tdownload window(row.base, "/tmp/plimb");
        EXPECT_EQ(window.requestUrl(), row.url);
        EXPECT_EQ(window.installerFile(), "/tmp/plimb/vxlsetup.exe");
    }
}

class HelpAboutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override {
        mainWindow.resize(700, 500);
        mainWindow.show();
        about.setUrlOpener([this](const QString& url) { opened << url; });
    }
    QWidget mainWindow;
    Tabout about;
    Thelp help{&about};
    QStringList opened;
};

TEST_F(HelpAboutTest, TheLogoAndDoneHideTheAboutWindowWhichReadsItsVersion) {
    EXPECT_EQ(about.windowTitle(), "Plimb - About");
    for (const char* hider : {"Image1", "button_done"}) {
        SCOPED_TRACE(hider);
        about.showOver(&mainWindow);
        ASSERT_TRUE(about.isVisible());
        QTest::mouseClick(child<QAbstractButton>(about, hider), Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    }
    EXPECT_EQ(child<QLabel>(about, "version")->text() + child<QLabel>(about, "Label9")->text(), "1.0.5.1");
}

TEST_F(HelpAboutTest, TheWebAddressLabelShowsOnlyWithAnAddressAndOpensIt) {
    about.showOver(&mainWindow);
    auto* label7 = child<QLabel>(about, "Label7");
    EXPECT_FALSE(label7->isVisible());
    about.openWebAddress();
    EXPECT_TRUE(opened.isEmpty());

    about.setWebAddress("www.example.org");
    EXPECT_TRUE(label7->isVisible());
    emit label7->linkActivated("#");
    EXPECT_EQ(opened, QStringList{"http://www.example.org"});

    about.setWebAddress("");
    EXPECT_FALSE(label7->isVisible());
}

TEST_F(HelpAboutTest, EachTopicButtonShowsItsPageUnderItsCaption) {
    EXPECT_EQ(help.windowTitle(), "Plimb -  Help File");
    help.showOver(&mainWindow);
    auto* caption = child<QLabel>(help, "label_caption");
    EXPECT_EQ(caption->text(), "Overview");
    // A page's own title shows only where it says more than the caption above it.
    const struct {
        const char* button;
        const char* firstLine;
    } topics[] = {{"Overview", "Change your word into new words"},
                  {"Connecting", "Playing solo"},
                  {"Game Play", "Starting a game"},
                  {"Scoring", "At the end of every turn-ending move"},
                  {"Documentation", "History"},
                  {"License", "License Agreement"}};
    auto* pages = help.findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    for (int tag = 1; tag <= Thelp::kTopicCount; ++tag) {
        const auto& topic = topics[tag - 1];
        SCOPED_TRACE(topic.button);
        auto* button =
            child<QPushButton>(help, QStringLiteral("SelButton%1").arg(tag).toLatin1().constData());
        EXPECT_EQ(button->text(), topic.button);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(caption->text(), topic.button);
        auto* page = qobject_cast<QTextBrowser*>(pages->currentWidget());
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->objectName(), QStringLiteral("memo%1").arg(tag));
        EXPECT_TRUE(page->toPlainText().section('\n', 0, 0).trimmed().startsWith(topic.firstLine))
            << page->toPlainText().section('\n', 0, 0).toStdString();
    }
}

TEST_F(HelpAboutTest, TheLicensePageCarriesEveryLicenceText) {
    help.showTopic(&mainWindow, Thelp::License);
    const QString text = child<QTextBrowser>(help, "memo6")->toPlainText();
    for (const char* part : {"Copyright (c) 2026 The Plimb developers", "Copyright (c) Sindre Sorhus",
                             "Copyright 2000-2011 by Kevin Atkinson", "Permission is hereby granted",
                             // Across the files' line breaks: the window wraps the text itself.
                             "obtaining a copy of this software", "distribute and sell these word lists"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(text.contains("include:"));
}

TEST_F(HelpAboutTest, HelpReopensOnItsLastPageAndItsAboutShowsTheOneAboutWindow) {
    help.showTopic(&mainWindow, Thelp::Scoring);
    QTest::mouseClick(child<QPushButton>(help, "button_done"), Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
    help.showOver(&mainWindow);
    EXPECT_EQ(help.currentTopic(), Thelp::Scoring);

    QTest::mouseClick(child<QPushButton>(help, "button_about"), Qt::LeftButton);
    EXPECT_TRUE(about.isVisible());
    const QPoint placed = about.pos();
    about.showOver(&mainWindow);
    EXPECT_EQ(about.pos(), placed);
}

// Every side window opens through the same placement, the tally list among them.
TEST(SideWindowPlacement, OpensCentredOverTheMainWindowAndEachRequestGivesItTheFocus) {
    test::ensureApplication();
    QWidget mainWindow;
    mainWindow.setGeometry(120, 80, 700, 500);
    mainWindow.show();
    Ttallylist tally;
    tally.showOver(&mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tally, 30000));
    // Centred up to the window's own frame, which is not known before it first opens.
    const QSize frame = tally.frameGeometry().size() - tally.size();
    const QPoint off = tally.frameGeometry().center() - mainWindow.frameGeometry().center();
    EXPECT_LE(std::abs(off.x()), frame.width()) << off.x();
    EXPECT_LE(std::abs(off.y()), frame.height()) << off.y();

    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow, 30000));
    tally.showOver(&mainWindow);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&tally, 30000));
}

TEST(SideWindowPlacement, AWindowWiderThanTheMainWindowStaysOnTheScreen) {
    test::ensureApplication();
    QWidget mainWindow;
    mainWindow.setGeometry(3, 3, 400, 300);
    mainWindow.show();
    QWidget wide(nullptr, Qt::Tool);
    wide.resize(900, 200);
    showWindowOver(wide, &mainWindow);
    const QRect area = mainWindow.screen()->availableGeometry();
    EXPECT_GE(wide.geometry().left(), area.left());
    EXPECT_GE(wide.geometry().top(), area.top());
}

} // namespace
} // namespace plimb
