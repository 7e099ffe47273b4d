#pragma once
// The File menu's "Host a Game..." and "Join a Game..." dialogs. They ask for the player's name
// (and, to join, the host's address or name), remember both in the settings file (keys Name and
// Host of section Plimb) and hand back the command line that starts a hosting or joining copy.
#include <QDialog>
#include <QStringList>
#include <functional>

#include "app/hostjoinargs.h"
#include "chat/settingsstore.h"

class QLabel;
class QLineEdit;

namespace plimb {

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

private:
    GameRole role_;
    SettingsStore settings_;
    QLineEdit* edit_name = nullptr;
    QLineEdit* edit_host = nullptr; // joining only
    QLabel* label_error = nullptr;
    QStringList args_;
};

// This computer's IPv4 addresses other than the loopback ones, on interfaces that are up.
QStringList joinableAddresses();

// Opens the dialog over `parent` without blocking; once the player confirms, `launch` receives
// the command line (after the dialog has closed).
void openHostJoinDialog(QWidget* parent, GameRole role, const SettingsStore& settings,
                        std::function<void(const QStringList&)> launch);

} // namespace plimb
