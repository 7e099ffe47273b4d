#pragma once
// Tdownload: offered at a solo start, it fetches the Vexo42 Lobby's installer from the lobby server
// into the program's folder and runs it, opens an installed lobby, or just lets the solo game go on.
// Whenever the lobby takes over it asks the main window to close through closeGameRequested.
//
// The installer runs only when the lobby server answered exactly 200 with a complete body of its
// announced length, within the size and time limits, without leaving the configured scheme, host
// and port, and the body's SHA-256 matches the checksum published at the installer's address +
// ".sha256" (fetched first, under the same rules). Redirects within the lobby server are followed.
// Until then the body lives in an unnamed or temporary file that is dropped on any failure.
#include <QCryptographicHash>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "core/download/downloadcheck.h"

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTimer;

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
    // Takes effect at the next download.
    void setLimits(const DownloadLimits& limits) { limits_ = limits; }

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
    enum DownloadState { Running = 1, Failed = 2 };

    void fetch(const QUrl& url);
    // Gives up on the download for `why`; the first reason is the one reported.
    void stop(Refusal why);
    void HttpCli1HeaderData();
    void HttpCli1DocData();
    void downloadFinished();
    void finishDownload();

    QString lobbyServer_;
    QString programFolder_;
    Message message_;
    Starter start_;
    Finder find_;

    DownloadLimits limits_;

    QNetworkAccessManager* http_ = nullptr;
    QTimer* stall_ = nullptr;    // restarted by every sign of life of the reply
    QTimer* deadline_ = nullptr; // the whole download: checksum, redirects and installer
    QPointer<QNetworkReply> reply_;
    std::optional<TransferCheck> check_;
    bool fetchingDigest_ = false; // the checksum comes first; then the installer
    bool headSeen_ = false;
    std::optional<QUrl> follow_; // a redirect within the lobby server, taken once the reply ends
    Refusal refusal_ = Refusal::None;
    QString transportError_;
    QByteArray digestFile_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
    std::unique_ptr<QSaveFile> file_;
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
