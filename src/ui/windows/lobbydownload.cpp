#include "ui/windows/lobbydownload.h"

#include "ui/common/qtext.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace plimb {

namespace {

Origin originOf(const QUrl& url) {
    return {toStdString(url.scheme().toLower()), toStdString(url.host().toLower()), url.port()};
}

} // namespace

LobbyDownload::LobbyDownload(QObject* parent)
    : QObject(parent), http_(new QNetworkAccessManager(this)), stall_(new QTimer(this)),
      deadline_(new QTimer(this)) {
    // The installer comes straight from the lobby server, whatever the desktop's proxy settings.
    http_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    stall_->setSingleShot(true);
    connect(stall_, &QTimer::timeout, this, [this] { refuse(Refusal::Stalled); });
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] { refuse(Refusal::TooSlow); });
}

LobbyDownload::~LobbyDownload() {
    // The reply goes with the manager; its last signals must not reach a half-destroyed object.
    if (reply_ != nullptr) {
        disconnect(reply_, nullptr, this, nullptr);
        reply_->abort();
    }
}

void LobbyDownload::start(const QUrl& installer, const QUrl& digest, const QString& file) {
    if (running()) return;
    failure_ = DownloadFailure();
    installerUrl_ = installer;
    target_ = file;

    const Origin origin = originOf(installer);
    if (!fetchableOrigin(origin)) {
        failure_.refuse(Refusal::BadAddress);
        emit finished(failure_.outcome());
        return;
    }

    // Written beside the final name and renamed over it only once every check passed, so a stopped
    // or refused download never leaves a file that carries the installer's name.
    file_ = std::make_unique<QSaveFile>(target_);
    if (!file_->open(QIODevice::WriteOnly)) {
        failure_.fileFailed(FileStep::Create, toStdString(QDir::toNativeSeparators(target_)),
                            toStdString(file_->errorString()));
        file_.reset();
        emit finished(failure_.outcome());
        return;
    }

    bodyStarted_ = false;
    digestFile_.clear();
    hash_.reset();
    follow_.reset();
    // The checksum first: without it the installer is not worth fetching.
    fetchingDigest_ = true;
    check_.emplace(origin, limits_.maxDigestBytes);
    deadline_->start(limits_.total);
    fetch(digest);
}

void LobbyDownload::stop() {
    // Noted first: a reply that ends inside abort() must already see the stop.
    failure_.stopByUser();
    if (reply_ != nullptr) reply_->abort();
}

void LobbyDownload::fetch(const QUrl& url) {
    QNetworkRequest request{url};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    // The checksum covers the bytes as sent; the HTTP client must not unpack them on the way.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Redirects are judged by TransferCheck, not followed by the HTTP client on its own.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    headSeen_ = false;
    reply_ = http_->get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &LobbyDownload::headReceived);
    connect(reply_, &QNetworkReply::readyRead, this, &LobbyDownload::dataReceived);
    connect(reply_, &QNetworkReply::finished, this, &LobbyDownload::replyFinished);
    stall_->start(limits_.stall);
}

void LobbyDownload::refuse(Refusal why) {
    failure_.refuse(why);
    // Queued: the HTTP client may still be inside its own handling of this reply (an error status
    // is raised right after the head). Whatever arrives meanwhile is read and thrown away.
    if (reply_ != nullptr)
        QMetaObject::invokeMethod(reply_.data(), &QNetworkReply::abort, Qt::QueuedConnection);
}

void LobbyDownload::headReceived() {
    if (headSeen_ || failure_.any()) return;
    headSeen_ = true;
    stall_->start(limits_.stall);
    if (!fetchingDigest_) emit headerLines(static_cast<int>(reply_->rawHeaderPairs().size()));

    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    const QUrl location = reply_->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    const QUrl target = reply_->url().resolved(location);
    std::optional<Origin> targetOrigin;
    if (!location.isEmpty() && target.isValid()) targetOrigin = originOf(target);

    const TransferCheck::Head head = check_->head(
        status, length.isValid() ? std::optional<std::int64_t>(length.toLongLong()) : std::nullopt,
        targetOrigin);
    if (head.follow) {
        // The redirect's own body is of no use; its end starts the next request.
        follow_ = target;
        reply_->abort();
    } else if (head.refusal != Refusal::None) {
        refuse(head.refusal);
    }
}

void LobbyDownload::dataReceived() {
    const QByteArray chunk = reply_->readAll();
    if (failure_.any() || follow_) return;
    stall_->start(limits_.stall);
    if (const Refusal why = check_->data(chunk.size()); why != Refusal::None) {
        refuse(why);
        return;
    }
    if (fetchingDigest_) {
        digestFile_ += chunk;
        return;
    }
    if (!bodyStarted_) {
        bodyStarted_ = true;
        emit bodyStarted();
    }
    if (file_->write(chunk) != chunk.size()) {
        failure_.fileFailed(FileStep::Write, toStdString(QDir::toNativeSeparators(target_)),
                            toStdString(file_->errorString()));
        reply_->abort();
        return;
    }
    hash_.addData(chunk);
    emit received(check_->received());
}

void LobbyDownload::replyFinished() {
    QNetworkReply* reply = reply_;
    if (reply->bytesAvailable() > 0) dataReceived();
    reply_ = nullptr;
    reply->deleteLater();
    stall_->stop();

    if (!failure_.any()) {
        if (follow_) {
            const QUrl next = *follow_;
            follow_.reset();
            fetch(next);
            return;
        }
        const Refusal end = check_->end(reply->error() != QNetworkReply::NoError);
        failure_.refuse(end, toStdString(reply->errorString()));
        if (end == Refusal::None && fetchingDigest_) {
            if (!parseDigestFile(digestFile_.toStdString())) {
                failure_.refuse(Refusal::BadDigestFile);
            } else {
                fetchingDigest_ = false;
                check_.emplace(originOf(installerUrl_), limits_.maxInstallerBytes);
                fetch(installerUrl_);
                return;
            }
        }
    }
    finish();
}

void LobbyDownload::finish() {
    deadline_->stop();
    follow_.reset();
    if (!failure_.any())
        failure_.refuse(checkDigest(digestFile_.toStdString(), hash_.result().toHex().toStdString()));
    if (!failure_.any() && !file_->commit())
        failure_.fileFailed(FileStep::Write, toStdString(QDir::toNativeSeparators(target_)),
                            toStdString(file_->errorString()));
    // An uncommitted file is discarded here, before anybody hears of the outcome; the old
    // installer, if any, stays.
    file_.reset();
    if (failure_.any()) {
        emit finished(failure_.outcome());
        return;
    }
    QFile::setPermissions(target_, QFile::permissions(target_) | QFileDevice::ExeOwner |
                                       QFileDevice::ExeGroup | QFileDevice::ExeOther);
    emit finished(DownloadOutcome{true, toStdString(target_), check_->received(), {}});
}

} // namespace plimb
