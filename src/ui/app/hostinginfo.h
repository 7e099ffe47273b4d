#pragma once
// The Host dialog's part about reaching this computer from outside: the router's outside address
// (asked in the background as the dialog opens) and "Copy Invitation", which puts a plimb:// link
// to the best address for a friend on the clipboard: the outside address when the router told
// it, else this computer's first network address. A computer without a network address has no
// invitation to give, and the button stays off.
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace plimb {

class PortMapper;

class HostingInfo : public QWidget {
    Q_OBJECT
public:
    // `addresses`: this computer's own, best first. `router` answers the probe; it outlives the
    // dialog, so closing the dialog never waits for the router.
    HostingInfo(const QStringList& addresses, PortMapper& router, QWidget* parent = nullptr);

    // The link "Copy Invitation" copies now; empty when there is no address to give.
    QString invitation() const;

private:
    void showExternal(const QString& address);
    void showUnknown(const QString& reason);

    QStringList addresses_;
    QString external_;
    QLabel* label_external;
    QPushButton* button_copy;
    QLabel* label_copied;
};

// The router's probe for the Host dialogs over `window`: one per window, made on first use.
PortMapper& routerProbeFor(QWidget* window);

} // namespace plimb
