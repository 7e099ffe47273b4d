#pragma once
// Tdownload: offered at a solo start, it fetches the Vexo42 Lobby's installer from the lobby server
// into the program's folder and runs it, opens an installed lobby, or just lets the solo game go on.
// Whenever the lobby takes over it asks the main window to close through closeGameRequested. The
// download itself, with every check the installer must pass, is LobbyDownload's; the window shows
// its progress and its outcome.
#include "core/download/downloadcheck.h"
#include "core/download/downloadoutcome.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace plimb {

class LobbyDownload;

class Tdownload : public QWidget {
    Q_OBJECT
public:
    // Used when the settings name no lobby server (key LobbyServer of section Plimb).
    static constexpr const char* kDefaultLobbyServer = "http://127.0.0.1:8099";
    static constexpr const char* kInstallerPath = "/lobby/vxlsetup.exe";
    // The installed lobby program, looked for on the PATH.
    static constexpr const char* kLobbyProgram = "vexo42lobby";

    // Shows a message the user must acknowledge.
    using Message = std::function<void(const QString& text)>;
    // Starts a program detached from this one; false when it could not be started.
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;
    // The full path of an executable found on the PATH, or empty.
    using Finder = std::function<QString(const QString& name)>;

    // `lobbyServer`: scheme, host and port, e.g. "http://lobby.example.org:8099" (no scheme means
    // http). `programFolder`: where the installer is written.
    Tdownload(const QString& lobbyServer, const QString& programFolder, QWidget* parent = nullptr);

    void setMessage(Message show) { message_ = std::move(show); }
    void setStarter(Starter start) { start_ = std::move(start); }
    void setFinder(Finder find) { find_ = std::move(find); }
    // Takes effect at the next download.
    void setLimits(const DownloadLimits& limits);

    // Shown at a solo start, centred on the desktop.
    void showCentred();

    QString requestUrl() const;
    QString digestUrl() const;     // where the lobby server publishes the installer's SHA-256
    QString installerFile() const; // program folder + file name
    bool downloading() const;

    void getbuttonClick();
    void abortbuttonClick();
    void Button1Click();
    void Button2Click();

signals:
    // The installer or the installed lobby is running: the game should end now.
    void closeGameRequested();

private:
    void HttpCli1HeaderData(int lines);
    void HttpCli1DocBegin();
    void HttpCli1DocData(qint64 bytes);
    void downloadFinished(const DownloadOutcome& outcome);

    QString lobbyServer_;
    QString programFolder_;
    Message message_;
    Starter start_;
    Finder find_;
    LobbyDownload* download_;

    QPushButton* getbutton = nullptr;
    QPushButton* abortbutton = nullptr;
    QLabel* infolabel = nullptr;
    QLabel* infolabel2 = nullptr;
    QLabel* infolabel3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace plimb
