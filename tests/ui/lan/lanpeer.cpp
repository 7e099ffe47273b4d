// One computer's side of the discovery test, driven line by line on standard input; end of input
// ends it.
//   lanpeer announce: "announce SEATS running|waiting NAME...", "update SEATS running|waiting",
//                     "withdraw"; prints "announced NAME" once the network has the game.
//   lanpeer join:     shows the Join dialog and prints "lan <the line above the list>" whenever
//                     the Avahi service comes or goes, and "games" + per row a tab and the
//                     "|"-joined columns whenever the list changes; "avahi" starts this
//                     computer's Avahi daemon ($PLIMB_START_AVAHI).
#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/hostjoindialog.h"
#include "lan/lanannouncer.h"
#include "lan/lanbrowser.h"
#include "net/protocol.h"

using namespace plimb;

static void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LanAnnouncer announcer;
    QObject::connect(&announcer, &LanAnnouncer::announced,
                     [](const QString& name) { say("announced " + name); });
    QTemporaryDir settings;
    std::unique_ptr<HostJoinDialog> dialog;
    if (argc > 1 && QByteArray(argv[1]) == "join") {
        const SettingsStore store(
            [file = settings.filePath(QStringLiteral("vexolobby.ini"))] { return file; });
        dialog = std::make_unique<HostJoinDialog>(GameRole::Join, store, QStringList());
        auto* list = dialog->findChild<QTreeWidget*>("list_games");
        const auto showList = [list] {
            QString line = QStringLiteral("games");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QStringList columns;
                for (int column = 0; column < list->columnCount(); ++column)
                    columns << list->topLevelItem(i)->text(column);
                line += QLatin1Char('\t') + columns.join(QLatin1Char('|'));
            }
            say(line);
        };
        const auto showLan = [label = dialog->findChild<QLabel*>("label_lan")] {
            say("lan " + label->text());
        };
        QObject::connect(list->model(), &QAbstractItemModel::rowsRemoved, showList);
        QObject::connect(list->model(), &QAbstractItemModel::dataChanged, showList);
        QObject::connect(dialog->findChild<LanBrowser*>(), &LanBrowser::availableChanged, showLan);
        showLan();
    }

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[512];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) return QApplication::quit();
        for (pending.append(buffer, got); pending.contains('\n');
             pending.remove(0, pending.indexOf('\n') + 1)) {
            const QStringList words = QString::fromUtf8(pending.left(pending.indexOf('\n'))).split(' ');
            const LanGameInfo info{QString::fromUtf8(kVersion.data(), kVersion.size()),
                                   words.value(1).toInt(), words.value(2) == "running"};
            if (words[0] == "announce") announcer.announce(words.mid(3).join(' '), info);
            if (words[0] == "update") announcer.update(info);
            if (words[0] == "withdraw") announcer.withdraw();
            if (words[0] == "avahi" && std::system(std::getenv("PLIMB_START_AVAHI")) != 0)
                say("avahi failed");
        }
    });
    return QApplication::exec();
}
