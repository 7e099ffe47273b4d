#pragma once
// The settings file bound to the window: a load applies the stored preferences to the model, the
// window's place and size, the chat, the phrase buttons, the game options and the menus' check
// marks and whether games are kept; a save writes what they show. The phrases are written only by the phrase editor.
#include "ui/chat/settingsstore.h"
#include "core/client/clientmodel.h"
#include "core/client/clientsink.h"
#include "core/rules/computerkind.h"
#include "core/settings/settings.h"

class QWidget;

namespace plimb {

class ChatWidget;
class GameRecorder;
class MainMenus;
class PhraseBar;
class SideWindows;
class TServer;

class SettingsBinding : public SettingsSource {
public:
    // Only keeps its arguments.
    SettingsBinding(QWidget& window, ClientModel& model, const SettingsStore& file, ChatWidget& chat,
                    PhraseBar& phrases, SideWindows& windows, MainMenus& menus, GameRecorder& records);

    // The in-process server, whose computer player the host's settings choose.
    void setServer(TServer* server) { server_ = server; }

    void loadinifile() override;
    // Writes the current preferences (the phrases excepted).
    void saveinifile();
    // As the window closes: a window that was moved or resized keeps its place for the next run.
    void saveIfMoved();
    // The host's choice of computer player: its server plays it from the next game (at once
    // between games), the chat says so once, and the file keeps it.
    void chooseComputerPlayer(ComputerKind kind);
    // Options, "Keep Game Records": the recorder follows it from now on, and the file keeps it.
    void keepRecords(bool on);

private:
    WindowBounds currentBounds() const;

    QWidget& window_;
    ClientModel& model_;
    const SettingsStore& file_;
    ChatWidget& chat_;
    PhraseBar& phrases_;
    SideWindows& windows_;
    MainMenus& menus_;
    GameRecorder& records_;
    TServer* server_ = nullptr;
    WindowBounds savedBounds_; // as last loaded or saved
};

} // namespace plimb
