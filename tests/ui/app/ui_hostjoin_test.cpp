// The Host and Join dialogs, the data folder rule and the relaunch, offscreen.
#include "support/qtapp.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ui/app/datafiles.h"
#include "ui/app/hostinginfo.h"
#include "ui/app/hostjoindialog.h"
#include "ui/router/addresses.h"
#include "ui/router/portmapper.h"

#include "ui/app/relaunch.h"
#include "ui/lan/lanbrowser.h"
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>

namespace plimb {
namespace {

class HostJoinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Whatever runs on the machine, these dialogs find no message bus and so no Avahi service.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/plimb-test-bus");
        plimb::test::ensureApplication();
    }
    void writeSettings(const QByteArray& text) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString path() const { return dir.filePath(QStringLiteral("vexolobby.ini")); }
    SettingsStore store() const {
        return SettingsStore([p = path()] { return p; });
    }
    static QLineEdit* edit(QDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }
    static QLabel* label(QDialog& d, const char* name) { return d.findChild<QLabel*>(name); }

    QTemporaryDir dir;
};

TEST_F(HostJoinTest, JoiningRemembersNameAndHostAndKeepsTheRestOfTheFile) {
    writeSettings("; shared with other programs\r\n[Other]\r\nName=Keep\r\n[Plimb]\r\nTextsize=9\r\n"
                  "Name=Old Name\r\nHost=old.lan\r\n");
    HostJoinDialog dialog(GameRole::Join, store(), {});
    ASSERT_NE(edit(dialog, "edit_host"), nullptr);
    EXPECT_EQ(edit(dialog, "edit_name")->text(), "Old Name");
    EXPECT_EQ(edit(dialog, "edit_host")->text(), "old.lan");

    edit(dialog, "edit_name")->setText(QStringLiteral(" Ann Lee+1 "));
    edit(dialog, "edit_host")->setText(QStringLiteral("192.0.2.7"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.launchArgs(), (QStringList{"Ann Lee+1", "192.0.2.7", "join"}));

    const IniFile ini = store().read();
    EXPECT_EQ(ini.get("Plimb", "Name"), "Ann Lee+1");
    EXPECT_EQ(ini.get("Plimb", "Host"), "192.0.2.7");
    EXPECT_EQ(ini.get("Plimb", "Textsize"), "9");
    EXPECT_EQ(ini.get("Other", "Name"), "Keep");
    EXPECT_EQ(ini.text().rfind("; shared with other programs\r\n[Other]\r\n", 0), 0u);

    // The next dialog starts from what was typed last.
    HostJoinDialog again(GameRole::Join, store(), {});
    EXPECT_EQ(edit(again, "edit_name")->text(), "Ann Lee+1");
    EXPECT_EQ(edit(again, "edit_host")->text(), "192.0.2.7");
}

TEST_F(HostJoinTest, HostingRemembersTheNameButLeavesTheJoinAddressAlone) {
    writeSettings("[Plimb]\nHost=friend.lan\n");
    HostJoinDialog dialog(GameRole::Host, store(), {});
    EXPECT_EQ(edit(dialog, "edit_host"), nullptr);
    edit(dialog, "edit_name")->setText(QStringLiteral("Ann"));
    dialog.accept();
    EXPECT_EQ(dialog.launchArgs(), (QStringList{"Ann", "127.0.0.1", "true"}));
    EXPECT_EQ(store().read().get("Plimb", "Host"), "friend.lan");
    EXPECT_EQ(store().read().get("Plimb", "Name"), "Ann");
}

TEST_F(HostJoinTest, ARefusedEntryStaysOpenWithTheReasonAndIsNotRemembered) {
    writeSettings("[Plimb]\nName=Ann\nHost=old.lan\n");
    HostJoinDialog dialog(GameRole::Join, store(), {});
    dialog.show();
    edit(dialog, "edit_host")->setText(QStringLiteral("my host"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.launchArgs().isEmpty());
    EXPECT_TRUE(label(dialog, "label_error")->isVisibleTo(&dialog));
    EXPECT_TRUE(label(dialog, "label_error")->text().contains(QStringLiteral("blanks")));
    // The dialog grows to hold the reason; nothing below it is squeezed or covered.
    QApplication::processEvents();
    const QRect reason = label(dialog, "label_error")->geometry();
    const QRect buttons = dialog.findChild<QDialogButtonBox*>()->geometry();
    EXPECT_TRUE(reason.bottom() < buttons.top() && buttons.bottom() < dialog.height());
    EXPECT_EQ(store().read().get("Plimb", "Host"), "old.lan");

    // Put right, the same dialog goes through.
    edit(dialog, "edit_host")->setText(QStringLiteral("new.lan"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(store().read().get("Plimb", "Host"), "new.lan");
}

TEST_F(HostJoinTest, ANameThatWouldBeReadAsAnOptionIsRefusedWithTheRuleAndNotRemembered) {
    writeSettings("[Plimb]\nName=-platform\nHost=old.lan\n");
    HostJoinDialog dialog(GameRole::Join, store(), {});
    dialog.show();
    edit(dialog, "edit_host")->setText(QStringLiteral("new.lan"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(label(dialog, "label_error")->isVisibleTo(&dialog));
    EXPECT_EQ(label(dialog, "label_error")->text(), "A name may not begin with \"-\".");
    EXPECT_EQ(dialog.focusWidget(), edit(dialog, "edit_name")) << "the field to put right";
    EXPECT_EQ(store().read().get("Plimb", "Host"), "old.lan") << "nothing saved";
}

TEST_F(HostJoinTest, HostingTellsWhereOthersJoinAndWhichPortMustBeReachable) {
    HostJoinDialog twoAddresses(GameRole::Host, store(), {"192.168.1.5", "10.0.0.2"});
    const QString note = label(twoAddresses, "label_note")->text();
    EXPECT_TRUE(note.contains(QStringLiteral("192.168.1.5 or 10.0.0.2"))) << note.toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("TCP port 7772"))) << note.toStdString();

    HostJoinDialog none(GameRole::Host, store(), {});
    EXPECT_TRUE(label(none, "label_note")->text().contains(QStringLiteral("only players on this computer")));
    QWidget parent;
    HostJoinDialog offline(GameRole::Host, store(), {}, &parent);
    EXPECT_FALSE(offline.findChild<QPushButton*>(QStringLiteral("button_invite"))->isEnabled())
        << "without a network there is no invitation to give";

    for (const QString& address : joinableAddresses()) {
        const QHostAddress ip(address);
        EXPECT_TRUE(ip.protocol() == QAbstractSocket::IPv4Protocol ||
                    classifyIpv6(address.toStdString()) == Ipv6Kind::Global)
            << address.toStdString();
        EXPECT_FALSE(ip.isLoopback()) << address.toStdString();
    }

    // Before the router tells its outside address, the invitation names the first address given.
    QWidget window;
    for (const auto& [addresses, link] :
         {std::pair{QStringList{"192.168.1.5", "10.0.0.2"}, "plimb://192.168.1.5"},
          std::pair{QStringList{"2001:470::5"}, "plimb://[2001:470::5]"}}) {
        HostJoinDialog dialog(GameRole::Host, store(), addresses, &window);
        auto* copy = dialog.findChild<QPushButton*>(QStringLiteral("button_invite"));
        ASSERT_NE(copy, nullptr);
        copy->click();
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(link));
    }
    // What a router says is shown as text, and only an address goes into the invitation.
    HostJoinDialog dialog(GameRole::Host, store(), {"192.168.1.5"}, &window);
    emit routerProbeFor(&window).externalAddressFound(QStringLiteral("<a href=x>y</a>"),
                                                      QStringLiteral("UPnP"));
    EXPECT_EQ(label(dialog, "label_external")->textFormat(), Qt::PlainText);
    EXPECT_TRUE(label(dialog, "label_external")->text().contains("without a usable outside address"));
    dialog.findChild<QPushButton*>(QStringLiteral("button_invite"))->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("plimb://192.168.1.5"));
}

TEST_F(HostJoinTest, WithoutTheAvahiServiceJoiningSaysInOneLineThatNoGamesCanBeListed) {
    HostJoinDialog dialog(GameRole::Join, store(), {});
    EXPECT_EQ(label(dialog, "label_lan")->text(),
              "Games on the network cannot be listed: the Avahi service is "
              "not running on this computer.");
    EXPECT_FALSE(dialog.findChild<QTreeWidget*>("list_games")->isVisibleTo(&dialog));
}

TEST_F(HostJoinTest, GamesOnTheNetworkComeAndGoAndOnePickedOrActivatedIsJoined) {
    writeSettings("[Plimb]\nName=Cy\nHost=old.lan\n");
    HostJoinDialog dialog(GameRole::Join, store(), {});
    auto* list = dialog.findChild<QTreeWidget*>("list_games");
    LanBrowser* lan = dialog.findChild<LanBrowser*>();
    emit lan->availableChanged(true);
    EXPECT_TRUE(list->isVisibleTo(&dialog));
    const auto row = [list](int i) {
        QStringList texts;
        for (int column = 0; column < list->columnCount(); ++column)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    };
    LanGame ann{"ann", "Ann", "kitchen", "10.0.0.7", 7772, "1.0.5", 2, false};
    emit lan->gameFound(LanGame{"bo", "Bo", "attic", "fe80::2%eth0", 7772, "1.0.5", 1, true});
    emit lan->gameFound(ann);
    ann.seatsTaken = 3;
    emit lan->gameFound(ann);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(row(0),
              (QStringList{"Ann", "kitchen", "10.0.0.7", "2 of 2, 1 watching", "waiting for players"}));
    EXPECT_EQ(row(1), (QStringList{"Bo", "attic", "fe80::2%eth0", "1 of 2", "running"}));
    // Every text shows whole, without scrolling sideways.
    dialog.show();
    QApplication::processEvents();
    for (int i = 0; i < 2; ++i)
        for (int column = 0; column < list->columnCount(); ++column)
            EXPECT_GE(list->visualRect(list->model()->index(i, column)).width(),
                      list->fontMetrics().horizontalAdvance(row(i)[column]) + 8)
                << row(i)[column].toStdString();
    EXPECT_LE(list->header()->length(), list->viewport()->width());
    EXPECT_EQ(edit(dialog, "edit_host")->text(), "old.lan") << "games coming in leave the address alone";

    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(edit(dialog, "edit_host")->text(), "fe80::2%eth0");
    emit lan->gameGone("bo");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(edit(dialog, "edit_host")->text(), "fe80::2%eth0") << "a game leaving picks no other";
    EXPECT_TRUE(list->selectedItems().isEmpty()) << "so that a click on the one left picks it";

    list->setCurrentItem(list->topLevelItem(0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.launchArgs(), (QStringList{"Cy", "10.0.0.7", "join"}));
}

TEST(DataFolder, InstalledCopiesUseTheUserFolderOthersTheirOwn) {
    QTemporaryDir root;
    const QString user = root.filePath(QStringLiteral("user"));
    const auto makeDir = [&root](const QString& path) {
        QDir().mkpath(root.filePath(path));
        return root.filePath(path);
    };
    const auto touch = [&root](const QString& path) {
        QFile file(root.filePath(path));
        return file.open(QIODevice::WriteOnly);
    };
    const QString installed = makeDir(QStringLiteral("usr/games"));
    const QString installedInBin = makeDir(QStringLiteral("usr/bin"));
    const QString gamesWithoutEntry = makeDir(QStringLiteral("plimb-1.0.5/games"));
    makeDir(QStringLiteral("usr/share/applications"));
    ASSERT_TRUE(touch(QStringLiteral("usr/share/applications/org.plimb.Plimb.desktop")));
    const QString otherEntry = makeDir(QStringLiteral("opt/bin"));
    makeDir(QStringLiteral("opt/share/applications"));
    ASSERT_TRUE(touch(QStringLiteral("opt/share/applications/other.desktop")));
    const QString unpacked = makeDir(QStringLiteral("plimb-1.0.5/bin"));
    const QString build = makeDir(QStringLiteral("build"));
    const QString locked = makeDir(QStringLiteral("locked"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const bool rootCanWriteAnyway = QFileInfo(locked).isWritable();

    // Writable as the temporary folder is, the installed layout still goes to the user's folder.
    EXPECT_EQ(dataFolder(installed, user), user);
    EXPECT_EQ(dataFolder(installedInBin, user), user);
    EXPECT_EQ(dataFolder(gamesWithoutEntry, user), gamesWithoutEntry);
    EXPECT_EQ(dataFolder(otherEntry, user), otherEntry);
    EXPECT_EQ(dataFolder(unpacked, user), unpacked);
    EXPECT_EQ(dataFolder(build, user), build);
    if (!rootCanWriteAnyway) {
        EXPECT_EQ(dataFolder(locked, user), user);
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Relaunch, StartsTheProgramOnlyWhenItGoesWithEveryArgumentIntact) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("args"));
    const QString script = dir.filePath(QStringLiteral("fake-plimb"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Writes each argument on a line of its own, then renames, so a reader never sees half.
        file.write(
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\nmv \"$0.tmp\" \"" +
            out.toUtf8() + "\"\n");
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    { Relauncher unused(script); }
    {
        Relauncher refusing(script);
        EXPECT_FALSE(refusing.request({"Ann", "-platform", "true"}));
        EXPECT_FALSE(refusing.requested()) << "an option-like parameter never reaches a new copy";
    }
    {
        Relauncher relauncher(script);
        relauncher.request({"Old", "h", "join"});
        relauncher.request({"Ann  Lee+1", "127.0.0.1", "true"});
        EXPECT_FALSE(QFile::exists(out));
    }
    for (int i = 0; i < 500 && !QFile::exists(out); ++i)
        QThread::msleep(10);
    QFile result(out);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), "Ann  Lee+1\n127.0.0.1\ntrue\n");
}

} // namespace
} // namespace plimb
