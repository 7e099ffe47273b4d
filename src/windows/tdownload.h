#pragma once
// Tdownload: offered at a solo start, it fetches the Vexo42 Lobby's installer from the lobby server
// into the program's folder and runs it, opens an installed lobby, or just lets the solo game go on.
// Whenever the lobby takes over it asks the main window to close through closeGameRequested.
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;

namespace plimb {

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
    ~Tdownload() override;

    void setMessage(Message show) { message_ = std::move(show); }
    void setStarter(Starter start) { start_ = std::move(start); }
    void setFinder(Finder find) { find_ = std::move(find); }

    // Shown at a solo start, centred on the desktop.
    void showCentred();

    QString requestUrl() const;
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
    enum DownloadState { Running = 1, Failed = 2 };

    void HttpCli1HeaderData();
    void HttpCli1DocData();
    void downloadFinished();
    void resetButtons();

    QString lobbyServer_;
    QString programFolder_;
    Message message_;
    Starter start_;
    Finder find_;

    QNetworkAccessManager* http_ = nullptr;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    qint64 received_ = 0;
    bool bodyStarted_ = false;
    QString writeError_;  // set when the disk refused a chunk
    int state_ = Running; // the tag of infolabel

    QPushButton* getbutton = nullptr;
    QPushButton* abortbutton = nullptr;
    QLabel* infolabel = nullptr;
    QLabel* infolabel2 = nullptr;
    QLabel* infolabel3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace plimb
