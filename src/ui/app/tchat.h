#pragma once
// Tchat: the main window. It owns the game connection `sock`, the client model and its timers,
// the board panel above and the chat below, and runs start-up from the command line.
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "settings/settings.h"
#include "chat/settingsstore.h"
#include "client/clientmodel.h"
#include "client/clientsink.h"
#include "client/messagequeue.h"
#include "net/framer.h"
#include "net/tsock.h"
#include "rules/computerkind.h"

class QAction;
class QTcpSocket;

namespace plimb {

class ChatWidget;
class GamePanel;
class PhraseBar;
class SoundPlayer;
class Tabout;
class Tdownload;
class Thelp;
class Tphrases;
class Ttallylist;
class Random;
class TServer;
class Tgamestart;
class Tspylist;
class QuickHelp;

class Tchat : public QMainWindow, private ClientSink {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 734;
    static constexpr int kDefaultHeight = 540;
    static constexpr std::size_t kMaxQueuedNotices = 100000;
    // Honest notices are short; 4 MiB waiting means a host that floods us with long ones.
    static constexpr std::size_t kMaxQueuedNoticeBytes = 4 * 1024 * 1024;

    // Seeds the program-wide generator from the time of day, as the window is created.
    Tchat(Random& random, QWidget* parent = nullptr);
    ~Tchat() override;

    // The in-process server used when this copy hosts.
    void setServer(TServer* server) { server_ = server; }
    // The command line (without the program name); read when the window is first shown.
    void setParams(const QStringList& params) { params_ = params; }
    // How File, "Host a Game..." and "Join a Game..." start this program anew with the chosen
    // command line; the hook lets go of what the new copy needs and closes this window.
    void setRelaunch(std::function<void(const QStringList&)> relaunch) { relaunch_ = std::move(relaunch); }

    ClientModel& model() { return model_; }
    GamePanel* gamePanel() const { return panel_; }
    ChatWidget* chatWidget() const { return chat_; }
    PhraseBar* phraseBar() const { return phrases_; }
    Tgamestart* gameStart() const { return gamestart_; }
    Tphrases* phraseEditor();
    Ttallylist* tallyList() const { return tallylist_; }
    Tdownload* downloadWindow();
    Thelp* help();
    Tabout* about();
    SoundPlayer& sounds();
    // Writes the current preferences to the settings file (the phrases excepted).
    void saveinifile();
    void addlinetochat(const std::string& line, Colour colour) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void processparams();
    void hostpress();
    void joinpress();
    void openSock11();
    void sockRead(TSock* sender);
    void sockInfo(TSock* sender, TSocketInfo info, const QString& text);
    void Timer1Timer();
    void armTimer1();
    void refresh();
    void button_startClick();
    void showNamePopup(int seat, const QPoint& globalPos);
    void QuickInstructions1Click();
    void PrhaseList1Click();
    void b_phrase1Click(const QString& phrase);
    void New1Click(int tag);
    void ComputerPlayer1Click(ComputerKind kind);
    void ViewTally1Click();
    // The names shown for seats 1 and 2 other than this client's own, "<Waiting>" left out.
    std::vector<std::string> opponentNames() const;
    QString tallyPath() const;
    WindowBounds currentBounds() const;

    // ClientSink
    void sendRequest(const std::string& text) override;
    void playsounds(const std::string& name) override;
    void playChatter(const std::string& name) override;
    void showMessage(const std::string& text) override;
    void closeMainWindow() override;
    void startTurnTimer() override;
    void stopTurnTimer() override;
    void loadinifile() override;
    void addword(const std::string& word, int value, int column) override;
    void anotherword(int column) override;
    void addgame(const std::string& winnerText) override;
    int longestWordRecord() const override;
    int bestScoreRecord() const override;

    ClientModel model_;
    TServer* server_ = nullptr;
    QStringList params_;
    std::function<void(const QStringList&)> relaunch_;
    QString hostAddress_;
    bool shown_ = false;
    bool closing_ = false;
    MessageQueue boxes_;
    void openBox(const QString& text);
    bool closeAfterBox_ = false; // the window was to close while a box was open
    bool connectionLost_ = false;

    TSock sock;
    QTcpSocket* Sock11 = nullptr;
    Framer framer_;
    QTimer Timer1;
    QTimer turntimer;

    GamePanel* panel_ = nullptr;
    ChatWidget* chat_ = nullptr;
    Tgamestart* gamestart_ = nullptr;
    Tspylist* spylist_ = nullptr;
    QuickHelp* panel_help = nullptr;
    PhraseBar* phrases_ = nullptr;
    Tphrases* phraseEditor_ = nullptr;
    Tabout* about_ = nullptr;
    Thelp* help_ = nullptr;
    Ttallylist* tallylist_ = nullptr;
    Tdownload* download_ = nullptr;
    std::unique_ptr<SoundPlayer> sounds_;
    QAction* StartGame1 = nullptr;
    QAction* JustWatch1 = nullptr;
    QAction* PlaySounds1 = nullptr;
    QAction* PlayChatterSounds1 = nullptr;
    QAction* Classic1 = nullptr;
    QAction* New1 = nullptr;
    QAction* ComputerClassic1 = nullptr;
    QAction* ComputerStrong1 = nullptr;

    SettingsStore settings_;
    WindowBounds savedBounds_; // as last loaded or saved
};

} // namespace plimb
