#include "ui/windows/tdownload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/common/qtext.h"
#include "ui/common/tileart.h"

namespace plimb {

namespace {

constexpr int kLetterV = 22;
const QString kAborted = QStringLiteral("Download Aborted");

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QFrame* panel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

Origin originOf(const QUrl& url) {
    return {toStdString(url.scheme().toLower()), toStdString(url.host().toLower()), url.port()};
}

QString readable(Refusal refusal) {
    return toQString(refusalText(refusal));
}

} // namespace

Tdownload::Tdownload(const QString& lobbyServer, const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), lobbyServer_(lobbyServer),
      programFolder_(programFolder), http_(new QNetworkAccessManager(this)) {
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Download The Vexo42 Lobby"));
    // The installer comes straight from the lobby server, whatever the desktop's proxy settings.
    http_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    message_ = [this](const QString& text) { QMessageBox::information(this, QStringLiteral("Plimb"), text); };
    start_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    find_ = [](const QString& name) { return QStandardPaths::findExecutable(name); };
    stall_ = new QTimer(this);
    stall_->setSingleShot(true);
    connect(stall_, &QTimer::timeout, this, [this] { stop(Refusal::Stalled); });
    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] { stop(Refusal::TooSlow); });

    auto* root = new QHBoxLayout(this);

    QFrame* left = panel(this);
    auto* leftLayout = new QVBoxLayout(left);
    auto* picture = new QLabel(left);
    const qreal ratio = devicePixelRatioF();
    QPixmap tile = TileArt().tile(kLetterV, ratio * 2);
    tile.setDevicePixelRatio(ratio);
    picture->setPixmap(tile);
    leftLayout->addWidget(picture, 0, Qt::AlignHCenter);
    leftLayout->addWidget(
        wrapped(QStringLiteral("Download The Vexo42 Lobby Now to play this  and other exciting "
                               "games online with other players!"),
                left));
    getbutton = new QPushButton(QStringLiteral("Download And Install The Vexo42 Lobby Now"), left);
    getbutton->setObjectName(QStringLiteral("getbutton"));
    connect(getbutton, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    leftLayout->addWidget(getbutton);
    abortbutton = new QPushButton(QStringLiteral("Stop Download"), left);
    abortbutton->setObjectName(QStringLiteral("abortbutton"));
    abortbutton->setEnabled(false);
    connect(abortbutton, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);
    leftLayout->addWidget(abortbutton);
    infolabel = new QLabel(left);
    infolabel->setObjectName(QStringLiteral("infolabel"));
    leftLayout->addWidget(infolabel);
    infolabel3 = new QLabel(left);
    infolabel3->setObjectName(QStringLiteral("infolabel3"));
    leftLayout->addWidget(infolabel3);
    infolabel2 = new QLabel(left);
    infolabel2->setObjectName(QStringLiteral("infolabel2"));
    infolabel2->hide();
    leftLayout->addWidget(infolabel2);
    leftLayout->addStretch(1);
    root->addWidget(left, 1);

    auto* right = new QVBoxLayout;
    QFrame* solo = panel(this);
    auto* soloLayout = new QVBoxLayout(solo);
    soloLayout->addWidget(wrapped(
        QStringLiteral(
            "To proceed to the game without the ability to play against others click the button below."),
        solo));
    Button1 = new QPushButton(QStringLiteral("Play Solo Game"), solo);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &Tdownload::Button1Click);
    soloLayout->addWidget(Button1);
    soloLayout->addWidget(
        wrapped(QStringLiteral("Note: Even if you are playing offline, you will need to configure "
                               "your FIREWALL to allow the game to access the internet components."),
                solo));
    right->addWidget(solo);
    QFrame* others = panel(this);
    auto* othersLayout = new QVBoxLayout(others);
    othersLayout->addWidget(wrapped(
        QStringLiteral("If you already have The Vexo42 Lobby and you wish to play with others then click the "
                       "button below to close this game and open The Vexo42 Lobby."),
        others));
    Button2 = new QPushButton(QStringLiteral("Play with Others"), others);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, &Tdownload::Button2Click);
    othersLayout->addWidget(Button2);
    right->addWidget(others);
    root->addLayout(right, 1);

    // The wrapped texts decide the height at the window's width.
    constexpr int kWidth = 600;
    resize(kWidth, std::max(sizeHint().height(), heightForWidth(kWidth)));
}

Tdownload::~Tdownload() {
    // The reply goes with the manager; its last signals must not reach a half-destroyed window.
    if (reply_ != nullptr) {
        disconnect(reply_, nullptr, this, nullptr);
        reply_->abort();
    }
}

void Tdownload::showCentred() {
    QScreen* desktop = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (desktop != nullptr) move(desktop->availableGeometry().center() - rect().center());
    show();
    raise();
}

QString Tdownload::requestUrl() const {
    QString base = lobbyServer_.trimmed();
    if (base.isEmpty()) base = QString::fromLatin1(kDefaultLobbyServer);
    if (!base.contains(QStringLiteral("://"))) base.prepend(QStringLiteral("http://"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QLatin1String(kInstallerPath);
}

QString Tdownload::digestUrl() const {
    return requestUrl() + QStringLiteral(".sha256");
}

QString Tdownload::installerFile() const {
    const QString url = requestUrl();
    return QDir(programFolder_).filePath(url.mid(url.lastIndexOf(QLatin1Char('/')) + 1));
}

bool Tdownload::downloading() const {
    return reply_ != nullptr;
}

void Tdownload::getbuttonClick() {
    if (reply_ != nullptr) return;
    state_ = Running;
    const QString target = installerFile();
    infolabel2->setText(QFileInfo(target).fileName());

    const Origin origin = originOf(QUrl(requestUrl()));
    if (!fetchableOrigin(origin)) {
        state_ = Failed;
        infolabel->setText(kAborted);
        message_(readable(Refusal::BadAddress));
        return;
    }

    // Written beside the final name and renamed over it only once every check passed, so a stopped
    // or refused download never leaves a file that carries the installer's name.
    file_ = std::make_unique<QSaveFile>(target);
    if (!file_->open(QIODevice::WriteOnly)) {
        const QString error = QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(target), file_->errorString());
        file_.reset();
        state_ = Failed;
        infolabel->setText(kAborted);
        message_(error);
        return;
    }

    getbutton->setEnabled(false);
    abortbutton->setEnabled(true);
    infolabel->setText(QStringLiteral("Loading"));
    infolabel3->clear();
    bodyStarted_ = false;
    writeError_.clear();
    refusal_ = Refusal::None;
    transportError_.clear();
    digestFile_.clear();
    hash_.reset();
    follow_.reset();

    // The checksum first: without it the installer is not worth fetching.
    fetchingDigest_ = true;
    check_.emplace(origin, limits_.maxDigestBytes);
    deadline_->start(limits_.total);
    fetch(QUrl(digestUrl()));
}

void Tdownload::fetch(const QUrl& url) {
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
    connect(reply_, &QNetworkReply::metaDataChanged, this, &Tdownload::HttpCli1HeaderData);
    connect(reply_, &QNetworkReply::readyRead, this, &Tdownload::HttpCli1DocData);
    connect(reply_, &QNetworkReply::finished, this, &Tdownload::downloadFinished);
    stall_->start(limits_.stall);
}

void Tdownload::stop(Refusal why) {
    if (refusal_ == Refusal::None) refusal_ = why;
    // Queued: the HTTP client may still be inside its own handling of this reply (an error status
    // is raised right after the head). Whatever arrives meanwhile is read and thrown away.
    if (reply_ != nullptr)
        QMetaObject::invokeMethod(reply_.data(), &QNetworkReply::abort, Qt::QueuedConnection);
}

void Tdownload::HttpCli1HeaderData() {
    if (headSeen_ || refusal_ != Refusal::None) return;
    headSeen_ = true;
    stall_->start(limits_.stall);
    // One dot per header line, so "Loading" grows while the reply's head arrives.
    if (!fetchingDigest_)
        infolabel->setText(infolabel->text() + QString(reply_->rawHeaderPairs().size(), QLatin1Char('.')));

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
        stop(head.refusal);
    }
}

void Tdownload::HttpCli1DocData() {
    const QByteArray chunk = reply_->readAll();
    if (refusal_ != Refusal::None || follow_ || !writeError_.isEmpty()) return;
    stall_->start(limits_.stall);
    if (const Refusal why = check_->data(chunk.size()); why != Refusal::None) {
        stop(why);
        return;
    }
    if (fetchingDigest_) {
        digestFile_ += chunk;
        return;
    }
    if (!bodyStarted_) {
        bodyStarted_ = true;
        infolabel3->setText(QStringLiteral("Downloading: ") + infolabel2->text());
    }
    if (file_->write(chunk) != chunk.size()) {
        writeError_ = QStringLiteral("Cannot write file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(installerFile()), file_->errorString());
        reply_->abort();
        return;
    }
    hash_.addData(chunk);
    infolabel->setText(QString::number(check_->received()) + QStringLiteral(" bytes"));
}

void Tdownload::downloadFinished() {
    QNetworkReply* reply = reply_;
    if (reply->bytesAvailable() > 0) HttpCli1DocData();
    reply_ = nullptr;
    reply->deleteLater();
    stall_->stop();

    if (state_ != Failed && refusal_ == Refusal::None && writeError_.isEmpty()) {
        if (follow_) {
            const QUrl next = *follow_;
            follow_.reset();
            fetch(next);
            return;
        }
        refusal_ = check_->end(reply->error() != QNetworkReply::NoError);
        if (refusal_ == Refusal::TransportError) transportError_ = reply->errorString();
        if (refusal_ == Refusal::None && fetchingDigest_) {
            if (!parseDigestFile(digestFile_.toStdString())) {
                refusal_ = Refusal::BadDigestFile;
            } else {
                fetchingDigest_ = false;
                check_.emplace(originOf(QUrl(requestUrl())), limits_.maxInstallerBytes);
                fetch(QUrl(requestUrl()));
                return;
            }
        }
    }
    finishDownload();
}

void Tdownload::finishDownload() {
    deadline_->stop();
    follow_.reset();
    const bool stoppedByUser = state_ == Failed;
    if (!stoppedByUser && refusal_ == Refusal::None && writeError_.isEmpty())
        refusal_ = checkDigest(digestFile_.toStdString(), hash_.result().toHex().toStdString());
    getbutton->setEnabled(true);
    abortbutton->setEnabled(false);

    // A file that is not committed is discarded when it goes; the old installer, if any, stays.
    std::unique_ptr<QSaveFile> file = std::move(file_);
    if (stoppedByUser || refusal_ != Refusal::None || !writeError_.isEmpty()) {
        state_ = Failed;
        infolabel->setText(kAborted);
        if (!writeError_.isEmpty()) {
            message_(writeError_);
        } else if (!stoppedByUser && refusalIsReported(refusal_)) {
            const QString text = readable(refusal_);
            message_(transportError_.isEmpty() ? text : text + QLatin1Char(' ') + transportError_);
        }
        return;
    }
    infolabel->setText(QStringLiteral("Received ") + QString::number(check_->received()) +
                       QStringLiteral(" bytes"));
    if (!file->commit()) {
        state_ = Failed;
        infolabel->setText(kAborted);
        message_(QStringLiteral("Cannot write file \"%1\". %2")
                     .arg(QDir::toNativeSeparators(installerFile()), file->errorString()));
        return;
    }

    const QString installer = installerFile();
    QFile::setPermissions(installer, QFile::permissions(installer) | QFileDevice::ExeOwner |
                                         QFileDevice::ExeGroup | QFileDevice::ExeOther);
    infolabel3->setText(QStringLiteral("Installing"));
    if (!start_(installer, {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")})) {
        message_(QStringLiteral("An Error has Occurred."));
        return;
    }
    emit closeGameRequested();
}

void Tdownload::abortbuttonClick() {
    // The state first: a reply that ends inside abort() must already see the stop.
    state_ = Failed;
    if (reply_ != nullptr) reply_->abort();
    infolabel->setText(QStringLiteral("Download has been aborted."));
    infolabel3->setText(kAborted);
}

void Tdownload::Button1Click() {
    close();
}

void Tdownload::Button2Click() {
    const QString lobby = find_(QString::fromLatin1(kLobbyProgram));
    if (lobby.isEmpty()) {
        message_(QStringLiteral(
            "Please close the game and open the Vexo42 Lobby using the icon on your desktop or "
            "using the your Window's start-up menu."));
        return;
    }
    // Closing the game when the lobby did not start would leave the user with neither.
    if (!start_(lobby, {})) {
        message_(QStringLiteral("An Error has Occurred."));
        return;
    }
    emit closeGameRequested();
}

} // namespace plimb
