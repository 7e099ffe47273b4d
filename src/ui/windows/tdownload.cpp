#include "ui/windows/tdownload.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/common/qtext.h"
#include "ui/common/tileart.h"
#include "ui/windows/lobbydownload.h"

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
      programFolder_(programFolder), download_(new LobbyDownload(this)) {
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Download The Vexo42 Lobby"));
    message_ = [this](const QString& text) { QMessageBox::information(this, QStringLiteral("Plimb"), text); };
    start_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    find_ = [](const QString& name) { return QStandardPaths::findExecutable(name); };
    connect(download_, &LobbyDownload::headerLines, this, &Tdownload::HttpCli1HeaderData);
    connect(download_, &LobbyDownload::bodyStarted, this, &Tdownload::HttpCli1DocBegin);
    connect(download_, &LobbyDownload::received, this, &Tdownload::HttpCli1DocData);
    connect(download_, &LobbyDownload::finished, this, &Tdownload::downloadFinished);

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

void Tdownload::setLimits(const DownloadLimits& limits) {
    download_->setLimits(limits);
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
    return download_->running();
}

void Tdownload::getbuttonClick() {
    if (download_->running()) return;
    const QString target = installerFile();
    infolabel2->setText(QFileInfo(target).fileName());
    download_->start(QUrl(requestUrl()), QUrl(digestUrl()), target);
    // A download that could not begin has already shown its outcome.
    if (!download_->running()) return;
    getbutton->setEnabled(false);
    abortbutton->setEnabled(true);
    infolabel->setText(QStringLiteral("Loading"));
    infolabel3->clear();
}

void Tdownload::HttpCli1HeaderData(int lines) {
    // One dot per header line, so "Loading" grows while the reply's head arrives.
    infolabel->setText(infolabel->text() + QString(lines, QLatin1Char('.')));
}

void Tdownload::HttpCli1DocBegin() {
    infolabel3->setText(QStringLiteral("Downloading: ") + infolabel2->text());
}

void Tdownload::HttpCli1DocData(qint64 bytes) {
    infolabel->setText(QString::number(bytes) + QStringLiteral(" bytes"));
}

void Tdownload::downloadFinished(const DownloadOutcome& outcome) {
    getbutton->setEnabled(true);
    abortbutton->setEnabled(false);
    if (!outcome.done) {
        infolabel->setText(kAborted);
        if (!outcome.message.empty()) message_(toQString(outcome.message));
        return;
    }
    infolabel->setText(QStringLiteral("Received ") + QString::number(outcome.bytes) +
                       QStringLiteral(" bytes"));
    infolabel3->setText(QStringLiteral("Installing"));
    if (!start_(toQString(outcome.file),
                {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")})) {
        message_(QStringLiteral("An Error has Occurred."));
        return;
    }
    emit closeGameRequested();
}

void Tdownload::abortbuttonClick() {
    download_->stop();
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
