#pragma once
// Tchat: the main window. It holds the client model, the board panel above and the chat below,
// shows the user's message boxes and runs start-up from the command line. Its other jobs have
// classes of their own, each serving the model's ports for its concern: the game connection and
// the model's timers (ConnectionPump), the sounds (WindowSounds), the side windows and the tally
// (SideWindows), the menus (MainMenus) and the settings file (SettingsBinding).
#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/app/invitelink.h"
#include "core/client/clientmodel.h"
#include "core/records/recorder.h"
#include "core/client/clientsink.h"
#include "core/client/messagequeue.h"
#include "core/client/rejoin.h"
#include "core/settings/settings.h"
#include "ui/app/connectionpump.h"
#include "ui/app/gamelinks.h"
#include "ui/app/mainmenus.h"
#include "ui/app/portrelay.h"
#include "ui/app/settingsbinding.h"
#include "ui/app/sidewindows.h"
#include "ui/app/windowsounds.h"
#include "ui/chat/settingsstore.h"

namespace plimb {

class ChatWidget;
class HostingServices;
class ConnectionBanner;
class GamePanel;
class PhraseBar;
class QuickHelp;
class Random;
class SoundPlayer;
class Tabout;
class Tdownload;
class Tgamestart;
class Thelp;
class Tphrases;
class TServer;
class Ttallylist;

class Tchat : public QMainWindow, private MessageSink {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = WindowBounds{}.width;
    static constexpr int kDefaultHeight = WindowBounds{}.height;

    // Seeds the program-wide generator from the time of day, as the window is created.
    Tchat(Random& random, QWidget* parent = nullptr);
    ~Tchat() override;

    // The in-process server used when this copy hosts.
    void setServer(TServer* server) {
        server_ = server;
        settings_.setServer(server);
    }
    // The command line (without the program name); read when the window is first shown.
    void setParams(const QStringList& params) { params_ = params; }
    // How File, "Host a Game..." and "Join a Game..." start this program anew with the chosen
    // command line; the hook lets go of what the new copy needs and closes this window.
    void setRelaunch(std::function<void(const QStringList&)> relaunch) {
        menus_.setRelaunch(std::move(relaunch));
    }

    ClientModel& model() { return model_; }
    GamePanel* gamePanel() const { return panel_; }
    ChatWidget* chatWidget() const { return chat_; }
    PhraseBar* phraseBar() const { return phrases_; }
    Tgamestart* gameStart() { return windows_.gameStart(); }
    Tphrases* phraseEditor() { return windows_.phraseEditor(); }
    Ttallylist* tallyList() const { return windows_.tallyList(); }
    Tdownload* downloadWindow() { return windows_.downloadWindow(); }
    Thelp* help() { return windows_.help(); }
    Tabout* about() { return windows_.about(); }
    SoundPlayer& sounds() { return sounds_.player(); }
    ConnectionBanner* connectionBanner() const { return banner_; }
    // Writes the current preferences to the settings file (the phrases excepted).
    void saveinifile() { settings_.saveinifile(); }
    void addlinetochat(const std::string& line, Colour colour) override;
    // An invitation link another copy of this program was started with: joined at once when no
    // game is in progress, asked about otherwise; a link that cannot be used is refused in the chat.
    void handOverLink(const QString& link) { links_.handOver(link); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void processparams();
    void hostpress();
    void joinpress();
    void askNameThenJoin(const HostPort& address);
    void refresh();
    void connectionEnded();
    void rejoinAct(Rejoin::Action action);
    void showRejoin();
    void button_startClick();
    void QuickInstructions1Click();
    void b_phrase1Click(const QString& phrase);

    // MessageSink
    void showMessage(const std::string& text) override;
    void closeMainWindow() override;
    void openBox(const QString& text);

    TServer* server_ = nullptr;
    QStringList params_;
    QString hostAddress_; // as the player sees it
    HostPort joinAddress_;
    bool shown_ = false;
    bool closing_ = false;
    MessageQueue boxes_;
    bool closeAfterBox_ = false; // the window was to close while a box was open

    SettingsStore settingsFile_;
    // Built first, so the parts below can be given them.
    QWidget* central_ = nullptr;
    GamePanel* panel_ = nullptr;
    ChatWidget* chat_ = nullptr;
    PhraseBar* phrases_ = nullptr;
    QuickHelp* panel_help = nullptr; // made with the layout
    ConnectionBanner* banner_ = nullptr;
    Rejoin rejoin_;
    std::unique_ptr<HostingServices> hosting_; // while hosting a game for others
    QTimer rejoinTimer_;                       // once a second, only while the rejoin counts
    QElapsedTimer inSince_;                    // since the connection got into the game

    // The model first, on a relay of its ports; then the parts that serve them and the menus,
    // which start from its switches. Each part is given only what is already built.
    PortRelay ports_;
    ClientModel model_;
    SideWindows windows_;
    // After the side windows, whose folder it writes, and before the connection, which feeds it.
    GameRecorder recorder_;
    WindowSounds sounds_;
    ConnectionPump pump_;
    MainMenus menus_;
    SettingsBinding settings_;
    GameLinks links_;
};

} // namespace plimb
