#include "app/hostjoindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "net/protocol.h"

namespace plimb {
namespace {

constexpr char kSection[] = "Plimb";

QString hostingNote(const QStringList& addresses) {
    const QString port = QString::number(kGamePort);
    QString where =
        addresses.isEmpty()
            ? QStringLiteral(
                  "This computer has no network address besides its loopback address, so only players "
                  "on this computer can join.")
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

} // namespace

HostJoinDialog::HostJoinDialog(GameRole role, SettingsStore settings, const QStringList& addresses,
                               QWidget* parent)
    : QDialog(parent), role_(role), settings_(std::move(settings)) {
    const bool hosting = role_ == GameRole::Host;
    setWindowTitle(hosting ? QStringLiteral("Host a Game") : QStringLiteral("Join a Game"));
    const IniFile ini = settings_.read();

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edit_name = new QLineEdit(this);
    edit_name->setObjectName(QStringLiteral("edit_name"));
    edit_name->setText(QString::fromStdString(ini.get(kSection, "Name").value_or("")));
    form->addRow(QStringLiteral("Your name:"), edit_name);
    if (!hosting) {
        edit_host = new QLineEdit(this);
        edit_host->setObjectName(QStringLiteral("edit_host"));
        edit_host->setText(QString::fromStdString(ini.get(kSection, "Host").value_or("")));
        edit_host->setPlaceholderText(QStringLiteral("192.168.1.20 or a computer's name"));
        form->addRow(QStringLiteral("Host's address or name:"), edit_host);
    }
    layout->addLayout(form);

    auto* note = wrappedLabel(hosting ? hostingNote(addresses) : joiningNote(), this);
    note->setObjectName(QStringLiteral("label_note"));
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(note);

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
    setMinimumWidth(420);

    // The empty field is where typing starts.
    if (!hosting && !edit_name->text().isEmpty()) edit_host->setFocus();
}

void HostJoinDialog::accept() {
    const std::string host = edit_host ? edit_host->text().toStdString() : std::string();
    const LaunchArgs built = buildLaunchArgs(role_, edit_name->text().toStdString(), host);
    if (!built.ok()) {
        label_error->setText(QString::fromStdString(built.error));
        label_error->show();
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
    return addresses;
}

void openHostJoinDialog(QWidget* parent, GameRole role, const SettingsStore& settings,
                        std::function<void(const QStringList&)> launch) {
    auto* dialog = new HostJoinDialog(role, settings,
                                      role == GameRole::Host ? joinableAddresses() : QStringList(), parent);
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
