#include "windows/tdownload.h"

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
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "client/tileart.h"

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

    // Written beside the final name and renamed over it only once complete, so a stopped or broken
    // download never leaves a half installer that could be started later.
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
    received_ = 0;
    bodyStarted_ = false;
    writeError_.clear();

    QNetworkRequest request{QUrl(requestUrl())};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    reply_ = http_->get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &Tdownload::HttpCli1HeaderData);
    connect(reply_, &QNetworkReply::readyRead, this, &Tdownload::HttpCli1DocData);
    connect(reply_, &QNetworkReply::finished, this, &Tdownload::downloadFinished);
}

void Tdownload::HttpCli1HeaderData() {
    // One dot per header line, so "Loading" grows while the reply's head arrives.
    infolabel->setText(infolabel->text() + QString(reply_->rawHeaderPairs().size(), QLatin1Char('.')));
}

void Tdownload::HttpCli1DocData() {
    const QByteArray chunk = reply_->readAll();
    if (!writeError_.isEmpty()) return;
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
    received_ += chunk.size();
    infolabel->setText(QString::number(received_) + QStringLiteral(" bytes"));
}

void Tdownload::downloadFinished() {
    QNetworkReply* reply = reply_;
    if (reply->bytesAvailable() > 0) HttpCli1DocData();
    reply_ = nullptr;
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status < 400 && writeError_.isEmpty()) {
        infolabel->setText(QStringLiteral("Received ") + QString::number(received_) +
                           QStringLiteral(" bytes"));
    } else {
        infolabel->setText(kAborted);
        state_ = Failed;
    }
    getbutton->setEnabled(true);
    abortbutton->setEnabled(false);

    // A file that is not committed is discarded when it goes; the old installer, if any, stays.
    std::unique_ptr<QSaveFile> file = std::move(file_);
    if (state_ == Failed) {
        if (!writeError_.isEmpty()) message_(writeError_);
        return;
    }
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
