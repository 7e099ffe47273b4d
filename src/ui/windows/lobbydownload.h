#pragma once
// The lobby installer's download: its checksum and then the installer itself, fetched over HTTP
// from the lobby server, checked as it arrives (core/download) and kept only when every check
// passed. It reports its progress for the window to show, and ends with exactly one outcome.
//
// The installer is kept only when the lobby server answered exactly 200 with a complete body of
// its announced length, within the size and time limits, without leaving the configured scheme,
// host and port, and the body's SHA-256 matches the checksum published at the digest address
// (fetched first, under the same rules). Redirects within the lobby server are followed. Until
// then the body lives in a temporary file beside the target, dropped on any failure.
#include "core/download/downloadcheck.h"
#include "core/download/downloadoutcome.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QTimer;

namespace plimb {

class LobbyDownload : public QObject {
    Q_OBJECT
public:
    explicit LobbyDownload(QObject* parent = nullptr);
    ~LobbyDownload() override;

    // Takes effect at the next start.
    void setLimits(const DownloadLimits& limits) { limits_ = limits; }

    // Fetches the checksum at `digest`, then the installer at `installer` into `file`, replacing
    // an earlier file only when the new one passed. A download that cannot begin (an address that
    // is not http or https, a file that cannot be created) sends nothing and reports its outcome
    // before start() returns. Does nothing while a download runs.
    void start(const QUrl& installer, const QUrl& digest, const QString& file);
    // The user's stop: the outcome follows, at once or when the reply has gone, and tells nothing.
    void stop();
    bool running() const { return reply_ != nullptr; }

signals:
    // The installer's reply head arrived with this many header lines.
    void headerLines(int count);
    // The installer's first bytes arrived.
    void bodyStarted();
    // The installer's bytes received so far.
    void received(qint64 bytes);
    // Once for every start: done with the file, or failed with what the user should read.
    void finished(const plimb::DownloadOutcome& outcome);

private:
    void fetch(const QUrl& url);
    // Gives up for `why`; the reply is dropped once the HTTP client is out of its own handling.
    void refuse(Refusal why);
    void headReceived();
    void dataReceived();
    void replyFinished();
    void finish();

    QNetworkAccessManager* http_;
    QTimer* stall_;    // restarted by every sign of life of the reply
    QTimer* deadline_; // the whole download: checksum, redirects and installer
    DownloadLimits limits_;

    QUrl installerUrl_;
    QString target_;
    QPointer<QNetworkReply> reply_;
    std::optional<TransferCheck> check_;
    bool fetchingDigest_ = false; // the checksum comes first; then the installer
    bool headSeen_ = false;
    std::optional<QUrl> follow_; // a redirect within the lobby server, taken once the reply ends
    DownloadFailure failure_;
    QByteArray digestFile_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
    std::unique_ptr<QSaveFile> file_;
    bool bodyStarted_ = false;
};

} // namespace plimb
