// One computer's side of the discovery test, driven line by line on standard input; end of input
// ends it.
//   lanpeer announce: "announce SEATS running|waiting NAME...", "update SEATS running|waiting",
//                     "withdraw"; prints "announced NAME" once the network has the game.
//                     "flood COUNT PORT" adds COUNT games on PORT, "ghosts COUNT" COUNT names with
//                     nothing behind them (no computer, no port), "stream PER-SECOND SECONDS"
//                     adds games at that rate; "unflood" takes them all back. Each prints
//                     "flooded" once the network has all it added.
//   lanpeer join:     shows the Join dialog and prints "lan <the line above the list>" whenever
//                     the Avahi service comes or goes, and "games" + per row a tab and the
//                     "|"-joined columns whenever the list changes; "avahi" starts this
//                     computer's Avahi daemon ($PLIMB_START_AVAHI); "watch NAME" prints instead
//                     only "watched " + NAME's row (or nothing) whenever that changes; "gap" prints
//                     "gap MS", the longest the event loop went without a turn since the last.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <avahi-client/publish.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "ui/app/hostjoindialog.h"
#include "ui/lan/avahisession.h"
#include "ui/lan/lanannouncer.h"
#include "ui/lan/lanbrowser.h"
#include "core/net/protocol.h"

using namespace plimb;

static void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Groups of 32, the most entries the daemon takes in one group.
struct Flood {
    AvahiSession session;
    std::vector<AvahiEntryGroup*> groups;
    int established = 0, next = 0;
    bool streaming = false;
    QTimer stream;
    QElapsedTimer since;

    static void groupCallback(AvahiEntryGroup*, AvahiEntryGroupState state, void* data) {
        auto* flood = static_cast<Flood*>(data);
        if (state == AVAHI_ENTRY_GROUP_ESTABLISHED && ++flood->established == int(flood->groups.size()) &&
            !flood->streaming)
            say("flooded");
    }
    // A name without SRV, TXT or address: only the pointer a browser sees.
    static void addGhost(AvahiEntryGroup* group, int n) {
        std::string rdata, instance = "ghost " + std::to_string(n);
        for (const std::string& label :
             {instance, std::string("_plimb"), std::string("_tcp"), std::string("local")})
            rdata += char(label.size()) + label;
        rdata += '\0';
        avahi_entry_group_add_record(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                     "_plimb._tcp.local", AVAHI_DNS_CLASS_IN, AVAHI_DNS_TYPE_PTR, 120,
                                     rdata.data(), rdata.size());
    }
    void add(int count, int port) {
        if (session.client() == nullptr) return say("no daemon to flood");
        for (int done = 0; done < count; done += 32) {
            AvahiEntryGroup* group = avahi_entry_group_new(session.client(), &Flood::groupCallback, this);
            for (int i = 0; i < std::min(32, count - done); ++i, ++next) {
                if (port < 0) {
                    addGhost(group, next);
                    continue;
                }
                const std::string name = "flood " + std::to_string(next);
                avahi_entry_group_add_service(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                              AvahiPublishFlags(0), name.c_str(), "_plimb._tcp", nullptr,
                                              nullptr, uint16_t(port), "version=1", "seats=1", "game=waiting",
                                              nullptr);
            }
            avahi_entry_group_commit(group);
            groups.push_back(group);
        }
    }
    void clear() {
        for (AvahiEntryGroup* group : groups)
            avahi_entry_group_free(group);
        groups.clear();
        established = 0;
        say("unflooded");
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LanAnnouncer announcer;
    QObject::connect(&announcer, &LanAnnouncer::announced,
                     [](const QString& name) { say("announced " + name); });
    QTemporaryDir settings;
    std::unique_ptr<HostJoinDialog> dialog;
    std::unique_ptr<Flood> flood;
    QString watched, shown;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    std::function<void()> showList = [] {};
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    if (argc > 1 && QByteArray(argv[1]) == "join") {
        const SettingsStore store(
            [file = settings.filePath(QStringLiteral("vexolobby.ini"))] { return file; });
        dialog = std::make_unique<HostJoinDialog>(GameRole::Join, store, QStringList());
        auto* list = dialog->findChild<QTreeWidget*>("list_games");
        showList = [list, &watched, &shown] {
            if (!watched.isEmpty()) {
                QString line = QStringLiteral("watched");
                const auto rows = list->findItems(watched, Qt::MatchExactly);
                for (int column = 0; !rows.isEmpty() && column < list->columnCount(); ++column)
                    line += (column == 0 ? QLatin1Char(' ') : QLatin1Char('|')) + rows[0]->text(column);
                if (line != shown) say(shown = line);
                return;
            }
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
            if (words[0] == "flood" || words[0] == "ghosts" || words[0] == "stream") {
                if (!flood) flood = std::make_unique<Flood>();
                if (words[0] == "flood") flood->add(words[1].toInt(), words[2].toInt());
                if (words[0] == "ghosts") flood->add(words[1].toInt(), -1);
                if (words[0] == "stream") {
                    // Each game lives about a second, as many come and go as are added; the
                    // stream stops after its time however many it managed.
                    const int perSecond = words[1].toInt();
                    const qint64 until = words[2].toLongLong() * 1000;
                    flood->streaming = true;
                    flood->since.start();
                    QObject::connect(&flood->stream, &QTimer::timeout, [&flood, perSecond, until] {
                        auto& groups = flood->groups;
                        flood->add(32, kGamePort);
                        if (int(groups.size()) > perSecond / 32) {
                            avahi_entry_group_free(groups.front());
                            groups.erase(groups.begin());
                        }
                        if (flood->since.elapsed() < until) return;
                        flood->stream.stop();
                        say(QStringLiteral("streamed %1").arg(flood->next));
                        say("flooded");
                    });
                    flood->stream.start(32000 / perSecond);
                }
            }
            if (words[0] == "unflood" && flood) flood->clear();
            if (words[0] == "watch" && dialog) {
                // Says where the game stands now, even when that has not changed.
                shown.clear();
                watched = words.mid(1).join(' ');
                showList();
            }
            if (words[0] == "gap") {
                say("gap " + QString::number(longestGap));
                longestGap = 0;
                if (!probe.isActive()) probe.start(50);
                sinceTick.start();
            }
            if (words[0] == "avahi" && std::system(std::getenv("PLIMB_START_AVAHI")) != 0)
                say("avahi failed");
        }
    });
    return QApplication::exec();
}
