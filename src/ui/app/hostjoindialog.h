#pragma once
// The File menu's "Host a Game..." and "Join a Game..." dialogs. They ask for the player's name
// (and, to join, the host's address or name), remember both in the settings file (keys Name and
// Host of section Plimb) and hand back the command line that starts a hosting or joining copy.
// To join, the games that computers on the local network announce are listed live above the
// address field: picking one fills in its address; double-clicking it or Enter on it joins it.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>

#include "core/app/hostjoinargs.h"
#include "ui/chat/settingsstore.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace plimb {

class LanBrowser;
struct LanGame;

class HostJoinDialog : public QDialog {
    Q_OBJECT
public:
    // `addresses` are this computer's addresses that the hosting dialog tells the player about.
    HostJoinDialog(GameRole role, SettingsStore settings, const QStringList& addresses,
                   QWidget* parent = nullptr);

    // The command line (without the program's name); empty until the dialog was accepted.
    const QStringList& launchArgs() const { return args_; }

    // Accepts only a usable entry; otherwise says what is wrong and stays open.
    void accept() override;
    // Joining: puts `host` into the address field, for the player to add the name.
    void setHost(const QString& host);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Makes the dialog tall enough for its wrapped lines at its present width.
    void growToFit();
    void showGame(const LanGame& game);
    void dropGame(const std::string& key);
    void showLanState(bool available);
    QTreeWidgetItem* itemOf(const std::string& key) const;
    void pick(QTreeWidgetItem* item);

    GameRole role_;
    SettingsStore settings_;
    QLineEdit* edit_name = nullptr;
    QLineEdit* edit_host = nullptr;    // joining only
    QLabel* label_lan = nullptr;       // joining only: above the list, or why there is none
    QTreeWidget* list_games = nullptr; // joining only
    LanBrowser* lan_ = nullptr;        // joining only
    QLabel* label_error = nullptr;
    QStringList args_;
};

// This computer's IPv4 addresses other than the loopback ones, on interfaces that are up, then its
// global IPv6 addresses.
QStringList joinableAddresses();

// Opens the dialog over `parent` without blocking; once the player confirms, `launch` receives
// the command line (after the dialog has closed). A `host` given to a Join dialog stands in its
// address field instead of the remembered one, and typing starts at the name.
void openHostJoinDialog(QWidget* parent, GameRole role, const SettingsStore& settings,
                        std::function<void(const QStringList&)> launch, const QString& host = QString());

} // namespace plimb
