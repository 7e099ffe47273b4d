#include "ui/app/hostinginfo.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/invitelink.h"
#include "core/router/gatewaytrust.h"
#include "ui/router/portmapper.h"

namespace plimb {
namespace {

// A reason from the router, as a sentence of its own.
QString sentence(const QString& text) {
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

} // namespace

HostingInfo::HostingInfo(const QStringList& addresses, PortMapper& router, QWidget* parent)
    : QWidget(parent), addresses_(addresses), label_external(new QLabel(this)),
      button_copy(new QPushButton(QStringLiteral("Copy Invitation"), this)), label_copied(new QLabel(this)) {
    // Both show what the router said: text, never markup.
    label_external->setObjectName(QStringLiteral("label_external"));
    label_external->setTextFormat(Qt::PlainText);
    label_external->setWordWrap(true);
    label_external->setTextInteractionFlags(Qt::TextSelectableByMouse);
    button_copy->setObjectName(QStringLiteral("button_invite"));
    label_copied->setObjectName(QStringLiteral("label_copied"));
    label_copied->setTextFormat(Qt::PlainText);
    label_copied->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_external);
    auto* row = new QHBoxLayout;
    row->addWidget(button_copy);
    row->addWidget(label_copied, 1);
    layout->addLayout(row);

    if (addresses_.isEmpty()) {
        // Not on a network: there is no router to ask and no address to invite anyone to.
        label_external->setText(
            QStringLiteral("There is no invitation to copy until this computer is connected to a network."));
        button_copy->setEnabled(false);
        return;
    }
    label_external->setText(QStringLiteral("Asking the router for this network's outside address..."));
    connect(&router, &PortMapper::externalAddressFound, this,
            [this](const QString& address, const QString&) { showExternal(address); });
    connect(&router, &PortMapper::externalAddressUnknown, this, &HostingInfo::showUnknown);
    connect(button_copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(invitation());
        label_copied->setText(QStringLiteral("Copied: ") + invitation());
    });
    router.probeExternalAddress();
}

void HostingInfo::showUnknown(const QString& reason) {
    label_external->setText(QStringLiteral("The router did not tell this network's outside address, so "
                                           "the invitation names this computer's address, %1. %2")
                                .arg(addresses_.first(), sentence(reason)));
}

void HostingInfo::showExternal(const QString& address) {
    // Only an address is an answer; anything else the router says stays out of the invitation.
    if (!router::isIpv4Address(address.toStdString())) {
        showUnknown(QStringLiteral("The router answered the request for its outside address without a "
                                   "usable outside address"));
        return;
    }
    external_ = address;
    label_external->setText(
        QStringLiteral("Players outside your network join at %1: once this computer hosts, "
                       "Plimb asks the router to forward TCP port %2 to it.")
            .arg(address)
            .arg(kGamePort));
    button_copy->setEnabled(true);
}

QString HostingInfo::invitation() const {
    const QString best = !external_.isEmpty() ? external_ : addresses_.value(0);
    if (best.isEmpty()) return {};
    return QString::fromStdString(invitationLink(best.toStdString()));
}

PortMapper& routerProbeFor(QWidget* window) {
    auto* probe = window->findChild<PortMapper*>(QStringLiteral("routerProbe"), Qt::FindDirectChildrenOnly);
    if (probe == nullptr) {
        probe = new PortMapper(window);
        probe->setObjectName(QStringLiteral("routerProbe"));
    }
    return *probe;
}

} // namespace plimb
