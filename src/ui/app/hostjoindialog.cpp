#include "ui/app/hostjoindialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/app/hostinginfo.h"
#include "ui/common/qtext.h"
#include "ui/lan/lanbrowser.h"
#include "core/lan/langame.h"
#include "core/net/protocol.h"
#include "ui/router/addresses.h"
#include "core/rules/gamestate.h"

namespace plimb {
namespace {

constexpr char kSection[] = "Plimb";
// What a row of the list of games keeps besides its texts.
constexpr int kKeyRole = Qt::UserRole;
constexpr int kAddressRole = Qt::UserRole + 1;

QString hostingNote(const QStringList& addresses) {
    const QString port = QString::number(kGamePort);
    QString where =
        addresses.isEmpty()
            ? QStringLiteral(
                  "This computer has no network address besides its loopback address, so only players "
                  "on this computer can join until it is connected to a network.")
            : QStringLiteral("Other players join this computer at %1.")
                  .arg(addresses.join(QStringLiteral(" or ")));
    return where +
           QStringLiteral("\n\nTCP port %1 must be reachable from their computers: let it through this "
                          "computer's firewall, and forward it on your router for players outside your "
                          "network.\n\nPlimb closes this window and starts again as the host.")
               .arg(port);
}

QString joiningNote() {
    return QStringLiteral(
               "Plimb closes this window and starts again, joining the game hosted at that address "
               "(TCP port %1).")
        .arg(kGamePort);
}

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// Gives each column of the list of games room for the longest text it usually shows (the
// longest counts of players and state come from the rows themselves), so that a row reads
// whole without scrolling sideways, and makes the list as wide as its columns.
void fitColumns(QTreeWidget* list) {
    LanGame waiting;
    waiting.seatsTaken = kMaxSeats;
    waiting.running = false;
    LanGame running = waiting;
    running.running = true;
    const LanRow a = lanRow(waiting), b = lanRow(running);
    const QString samples[] = {QStringLiteral("Annemarie Lee"), QStringLiteral("kitchen-laptop"),
                               QStringLiteral("192.168.100.200"), toQString(std::max(a.players, b.players)),
                               toQString(a.game.size() > b.game.size() ? a.game : b.game)};
    const QFontMetrics metrics(list->font());
    const QFontMetrics headerMetrics(list->header()->font());
    // The item's own margins and the header's sort arrow, with room to spare.
    const int padding = 2 * metrics.height();
    int total = 0;
    for (int column = 0; column < list->columnCount(); ++column) {
        const int width = std::max(metrics.horizontalAdvance(samples[column]),
                                   headerMetrics.horizontalAdvance(list->headerItem()->text(column))) +
                          padding;
        list->header()->resizeSection(column, width);
        total += width;
    }
    list->setMinimumWidth(total + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

} // namespace

HostJoinDialog::HostJoinDialog(GameRole role, SettingsStore settings, const QStringList& addresses,
                               QWidget* parent)
    : QDialog(parent), role_(role), settings_(std::move(settings)) {
    const bool hosting = role_ == GameRole::Host;
    setWindowTitle(hosting ? QStringLiteral("Host a Game") : QStringLiteral("Join a Game"));
    const IniFile ini = settings_.read();

    auto* layout = new QVBoxLayout(this);
    // A line that appears (the reason an entry is refused) makes the dialog taller rather than
    // squeezing the lines below it.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    auto* form = new QFormLayout;
    edit_name = new QLineEdit(this);
    edit_name->setObjectName(QStringLiteral("edit_name"));
    edit_name->setText(QString::fromStdString(ini.get(kSection, "Name").value_or("")));
    form->addRow(QStringLiteral("Your name:"), edit_name);
    if (!hosting) {
        label_lan = wrappedLabel(QString(), this);
        label_lan->setObjectName(QStringLiteral("label_lan"));
        form->addRow(label_lan);
        list_games = new QTreeWidget(this);
        list_games->setObjectName(QStringLiteral("list_games"));
        list_games->setHeaderLabels({QStringLiteral("Host player"), QStringLiteral("Computer"),
                                     QStringLiteral("Address"), QStringLiteral("Players"),
                                     QStringLiteral("Game")});
        list_games->setRootIsDecorated(false);
        list_games->setUniformRowHeights(true);
        list_games->setSortingEnabled(true);
        list_games->sortByColumn(0, Qt::AscendingOrder);
        fitColumns(list_games);
        form->addRow(list_games);
        edit_host = new QLineEdit(this);
        edit_host->setObjectName(QStringLiteral("edit_host"));
        edit_host->setText(QString::fromStdString(ini.get(kSection, "Host").value_or("")));
        edit_host->setPlaceholderText(QStringLiteral("192.168.1.20 or a computer's name"));
        form->addRow(QStringLiteral("Host's address or name:"), edit_host);

        connect(list_games, &QTreeWidget::itemSelectionChanged, this, [this] {
            QTreeWidgetItem* item = list_games->currentItem();
            if (item != nullptr && item->isSelected()) pick(item);
        });
        connect(list_games, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
            pick(item);
            accept();
        });
        lan_ = new LanBrowser(this);
        connect(lan_, &LanBrowser::gameFound, this, &HostJoinDialog::showGame);
        connect(lan_, &LanBrowser::gameGone, this, &HostJoinDialog::dropGame);
        connect(lan_, &LanBrowser::availableChanged, this, &HostJoinDialog::showLanState);
        showLanState(lan_->available());
    }
    layout->addLayout(form);

    auto* note = wrappedLabel(hosting ? hostingNote(addresses) : joiningNote(), this);
    note->setObjectName(QStringLiteral("label_note"));
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(note);
    if (hosting && parent != nullptr)
        layout->addWidget(new HostingInfo(addresses, routerProbeFor(parent->window()), this));

    label_error = wrappedLabel(QString(), this);
    label_error->setObjectName(QStringLiteral("label_error"));
    label_error->setStyleSheet(QStringLiteral("color: #B00020;"));
    label_error->hide();
    layout->addWidget(label_error);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(hosting ? QStringLiteral("Host") : QStringLiteral("Join"));
    connect(buttons, &QDialogButtonBox::accepted, this, &HostJoinDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &HostJoinDialog::reject);
    layout->addWidget(buttons);
    // The least width, as a strut: the layout sets the dialog's minimum size itself.
    layout->addStrut(420);

    // The empty field is where typing starts.
    if (!hosting && !edit_name->text().isEmpty()) edit_host->setFocus();
}

void HostJoinDialog::accept() {
    const std::string host = edit_host ? edit_host->text().toStdString() : std::string();
    const LaunchArgs built = buildLaunchArgs(role_, edit_name->text().toStdString(), host);
    if (!built.ok()) {
        label_error->setText(QString::fromStdString(built.error));
        label_error->show();
        growToFit();
        // The name alone decides a hosting entry, so this tells which field to put right.
        const bool nameIsFine = buildLaunchArgs(GameRole::Host, edit_name->text().toStdString(), {}).ok();
        (nameIsFine && edit_host ? edit_host : edit_name)->setFocus();
        return;
    }
    args_.clear();
    for (const std::string& arg : built.args)
        args_.append(QString::fromStdString(arg));
    // Remembering is a convenience: a settings file that cannot be written does not stop the game.
    settings_.update([this](IniFile& ini) {
        ini.set(kSection, "Name", args_[0].toStdString());
        if (role_ == GameRole::Join) ini.set(kSection, "Host", args_[1].toStdString());
    });
    QDialog::accept();
}

void HostJoinDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    growToFit();
}

void HostJoinDialog::growToFit() {
    // The minimum the layout sets counts a wrapped line as one; the height for the actual width
    // counts them all.
    layout()->activate();
    if (layout()->hasHeightForWidth()) {
        const int needed = layout()->totalHeightForWidth(width());
        if (height() < needed) resize(width(), needed);
    }
}

void HostJoinDialog::setHost(const QString& host) {
    if (edit_host == nullptr) return;
    edit_host->setText(host);
    edit_name->setFocus();
}

void HostJoinDialog::showGame(const LanGame& game) {
    const LanRow row = lanRow(game);
    // The list changes under the player's eyes; only the player's own choice fills the address.
    const QSignalBlocker quiet(list_games);
    QTreeWidgetItem* item = itemOf(game.key);
    if (item == nullptr) {
        item = new QTreeWidgetItem;
        item->setData(0, kKeyRole, QByteArray::fromStdString(game.key));
        list_games->addTopLevelItem(item);
    }
    item->setData(0, kAddressRole, toQString(game.address));
    const std::string* columns[] = {&row.hostPlayer, &row.computer, &row.address, &row.players, &row.game};
    for (int column = 0; column < 5; ++column)
        item->setText(column, toQString(*columns[column]));
}

void HostJoinDialog::dropGame(const std::string& key) {
    const QSignalBlocker quiet(list_games);
    QTreeWidgetItem* item = itemOf(key);
    if (item == nullptr) return;
    const bool picked = item->isSelected();
    delete item;
    // The view would pick the next row in its place, and a click on that row would then change
    // nothing; the address field still holds the game that left, so nothing is picked.
    if (picked) {
        list_games->clearSelection();
        list_games->setCurrentItem(nullptr);
    }
}

void HostJoinDialog::showLanState(bool available) {
    label_lan->setText(
        available
            ? QStringLiteral("Games on this network (double-click one to join it):")
            : QStringLiteral("Games on the network cannot be listed: %1.").arg(lan_->unavailableReason()));
    list_games->setVisible(available);
    if (isVisible()) growToFit();
}

QTreeWidgetItem* HostJoinDialog::itemOf(const std::string& key) const {
    const QByteArray wanted = QByteArray::fromStdString(key);
    for (int i = 0; i < list_games->topLevelItemCount(); ++i)
        if (list_games->topLevelItem(i)->data(0, kKeyRole).toByteArray() == wanted)
            return list_games->topLevelItem(i);
    return nullptr;
}

void HostJoinDialog::pick(QTreeWidgetItem* item) {
    edit_host->setText(item->data(0, kAddressRole).toString());
}

QStringList joinableAddresses() {
    QStringList addresses;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback() &&
                !addresses.contains(ip.toString()))
                addresses.append(ip.toString());
        }
    }
    // The host listens on both families, so a friend on the internet may reach it without a
    // router's help at one of these.
    for (const QString& ip : globalIpv6Addresses())
        if (!addresses.contains(ip)) addresses.append(ip);
    return addresses;
}

void openHostJoinDialog(QWidget* parent, GameRole role, const SettingsStore& settings,
                        std::function<void(const QStringList&)> launch, const QString& host) {
    auto* dialog = new HostJoinDialog(role, settings,
                                      role == GameRole::Host ? joinableAddresses() : QStringList(), parent);
    if (!host.isEmpty()) dialog->setHost(host);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, parent, [parent, dialog, launch = std::move(launch)] {
        // The launch closes the window that owns the dialog: let the dialog finish first.
        QTimer::singleShot(0, parent, [launch, args = dialog->launchArgs()] {
            if (launch) launch(args);
        });
    });
    dialog->open();
}

} // namespace plimb
