#pragma once
#include <array>

// The main window's menu bar (File, Options, View, Help) and the name label's popup. A switch or
// a side window is handled here; what the window coordinates (the game's options, the quick
// instructions, the computer player, saving the settings) is passed on as a signal. The check
// marks show the model and the settings; a click only asks.
#include <QObject>
#include <QStringList>
#include <functional>

#include "ui/chat/settingsstore.h"
#include "core/client/clientmodel.h"
#include "core/rules/computerkind.h"

class QAction;
class QMainWindow;
class QPoint;

namespace plimb {

class ChatWidget;
class SideWindows;

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Builds the menus into `window`; the check marks start from the model's switches.
    MainMenus(QMainWindow& window, ClientModel& model, ChatWidget& chat, SideWindows& windows,
              const SettingsStore& settings);

    // How "Host a Game..." and "Join a Game..." start this program anew (see Tchat).
    void setRelaunch(std::function<void(const QStringList&)> relaunch) { relaunch_ = std::move(relaunch); }
    // Starts this program anew with `args`, as the Host and Join dialogs do.
    void relaunch(const QStringList& args) const {
        if (relaunch_) relaunch_(args);
    }

    // File, "Start Game": the host's window only.
    void setStartGameEnabled(bool enabled);
    // The computer player's kinds: the host's window only, since its server runs the player.
    void enableComputerPlayer();
    void showJustWatch(bool on);
    void showPlaySounds(bool on);
    void showChatterSounds(bool on);
    void showTurnSound(int turnSound);
    void showComputerKind(ComputerKind kind);
    void showKeepRecords(bool on);

    // The host's tools on a player's name; other windows show them disabled.
    void showNamePopup(int seat, const QPoint& globalPos);

signals:
    void startGameChosen();
    void quickInstructionsChosen();
    void computerPlayerChosen(ComputerKind kind);
    // Options, "Keep Game Records" clicked: the new state of its check mark.
    void keepRecordsChosen(bool on);
    // A sound switch or the turn sound changed in the model: the settings are to be saved.
    void switchesChanged();
    // A menu item asked the model for something: the window redraws.
    void modelChanged();

private:
    void buildFile();
    void buildOptions(ChatWidget& chat);
    void buildViewAndHelp();
    void New1Click(int tag);

    QMainWindow& window_;
    ClientModel& model_;
    SideWindows& windows_;
    const SettingsStore& settings_;
    std::function<void(const QStringList&)> relaunch_;

    QAction* StartGame1 = nullptr;
    QAction* JustWatch1 = nullptr;
    QAction* PlaySounds1 = nullptr;
    QAction* PlayChatterSounds1 = nullptr;
    QAction* Classic1 = nullptr;
    QAction* New1 = nullptr;
    QAction* KeepRecords1 = nullptr;
    // One checkable item per level, weakest first ("ComputerBeginner1" .. "ComputerStrong1").
    std::array<QAction*, kComputerKinds.size()> computerItems_{};
};

} // namespace plimb
