#include "client/tchat.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTcpSocket>
#include <QTime>
#include <QVBoxLayout>

#include "chat/chatwidget.h"
#include "client/gamepanel.h"
#include "client/quickhelp.h"
#include "client/tgamestart.h"
#include "client/tspylist.h"
#include "net/protocol.h"
#include "rules/random.h"
#include "server/tserver.h"

namespace plimb {

Tchat::Tchat(Random& random, QWidget* parent) : QMainWindow(parent), model_(*this) {
    setWindowTitle(QStringLiteral("Plimb"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    // The layout keeps the window from shrinking below the board panel and a 6-pixel margin.
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    panel_ = new GamePanel(central);
    chat_ = new ChatWidget(central);
    layout->addWidget(panel_, 0, Qt::AlignHCenter);
    layout->addWidget(chat_, 1);
    setCentralWidget(central);
    panel_help = new QuickHelp(panel_->art(), central);
    gamestart_ = new Tgamestart(this);
    spylist_ = new Tspylist(this);
    connect(spylist_, &Tspylist::kickRequested, this,
            [this](const std::string& entry) { model_.kickSpyEntry(entry); });

    buildMenus();
    resize(kDefaultWidth, kDefaultHeight);
    move(3, 3);

    const QTime now = QTime::currentTime();
    random.seed(seedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec()));

    sock.PortName = QString::number(kGamePort);
    connect(&sock, &TSock::onRead, this, [this](TSock* s, int) { sockRead(s); });
    connect(&sock, &TSock::onInfo, this, &Tchat::sockInfo);

    // Timer1 runs only while notices wait or the phrase cool-down counts.
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &Tchat::Timer1Timer);
    turntimer.setInterval(1000);
    connect(&turntimer, &QTimer::timeout, this, [this] {
        model_.turntimerTimer();
        refresh();
    });

    chat_->setSessionSource([this] { return ChatSession{model_.loggedIn(), model_.mySeat()}; });
    connect(chat_, &ChatWidget::requestReady, this, [this](const std::string& text) { sendRequest(text); });

    connect(panel_, &GamePanel::myLetterPressed, this, [this](int n, MouseButton b) {
        model_.myletterMouseDown(n, b);
        refresh();
    });
    connect(panel_, &GamePanel::extraPressed, this, [this](int n, MouseButton b) {
        model_.extraMouseDown(n, b);
        refresh();
    });
    connect(panel_, &GamePanel::hisLetterClicked, this, [this](int n) {
        model_.hisletterClick(n);
        refresh();
    });
    connect(panel_, &GamePanel::startClicked, this, &Tchat::button_startClick);
    connect(panel_, &GamePanel::nameContextMenuRequested, this, &Tchat::showNamePopup);
    connect(gamestart_, &Tgamestart::startRequested, this,
            [this](const QString& time, const QString& playto, const QString& steals, bool unlimited) {
                model_.sendStartGame(time.toStdString(), playto.toStdString(), steals.toStdString(),
                                     unlimited);
            });
    refresh();
}

Tchat::~Tchat() {
    closing_ = true;
    sock.disconnect(this);
}

void Tchat::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    StartGame1 = file->addAction(QStringLiteral("Start Game"), this, &Tchat::button_startClick);
    StartGame1->setObjectName(QStringLiteral("StartGame1"));
    StartGame1->setEnabled(false);
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &QWidget::close);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    JustWatch1 = options->addAction(QStringLiteral("Just Watch"));
    JustWatch1->setCheckable(true);
    // The check mark follows the server's announcements only; a click just asks.
    connect(JustWatch1, &QAction::triggered, this, [this] {
        model_.justWatchClick();
        refresh();
    });
    options->addSeparator();
    options->addAction(chat_->textColorAction());
    options->addAction(chat_->actionColorAction());
    options->addMenu(chat_->textSizeMenu());
    options->addAction(chat_->scrollOffOptionsAction());
    options->addAction(chat_->clearAction());
    options->addSeparator();
    options->addAction(QStringLiteral("Reset Screen Location"), this, [this] {
        showNormal();
        move(3, 3);
        resize(kDefaultWidth, kDefaultHeight);
    });

    // One action in both menus, so its Ctrl+I is never ambiguous.
    auto* quickInstructions = new QAction(QStringLiteral("Quick Instructions"), this);
    quickInstructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(quickInstructions, &QAction::triggered, this, &Tchat::QuickInstructions1Click);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(quickInstructions);
    view->addAction(QStringLiteral("Spy List"), this, [this] { spylist_->showOver(this); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(quickInstructions);
    help->addAction(QStringLiteral("About"), this, [this] {
        QMessageBox::about(this, QStringLiteral("Plimb - About"),
                           QStringLiteral("Plimb\n\nVersion %1.1")
                               .arg(QString::fromLatin1(kVersion.data(), kVersion.size())));
    });
}

void Tchat::showNamePopup(int seat, const QPoint& globalPos) {
    // The host's tools on a player's name; other windows show them disabled.
    const auto state = model_.namePopupState(seat);
    QMenu popup(this);
    QAction* remove = popup.addAction(QStringLiteral("Remove From Game"));
    popup.addSeparator();
    QAction* watch = popup.addAction(QStringLiteral("Set to Just Watch"));
    QAction* unwatch = popup.addAction(QStringLiteral("Unset Just Watch"));
    remove->setEnabled(state.removeFromGame);
    watch->setEnabled(state.setToJustWatch);
    unwatch->setEnabled(state.unsetJustWatch);
    QAction* chosen = popup.exec(globalPos);
    if (chosen == remove)
        model_.kicking(state.seat);
    else if (chosen == watch)
        model_.setJustWatch(state.seat, true);
    else if (chosen == unwatch)
        model_.setJustWatch(state.seat, false);
}

void Tchat::QuickInstructions1Click() {
    // Over the board at the top-left corner of the client area; the game goes on underneath.
    panel_help->setGeometry(QRect(QPoint(1, 1), panel_->geometry().bottomRight()));
    panel_help->raise();
    panel_help->show();
}

void Tchat::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // FormShow: read the command line once the window is up.
    QTimer::singleShot(0, this, &Tchat::processparams);
}

void Tchat::processparams() {
    StartGame1->setEnabled(false);
    if (params_.isEmpty()) {
        addlinetochat("Loading Solo Game..Please wait.", kSystemLineColour);
        model_.setPlayerName("You");
        hostpress();
        return;
    }
    addlinetochat("Press CONTROL-I in order to see QUICK INSTRUCTIONS!", kSystemLineColour);
    addlinetochat("Loading Multi-player Game.. Please Wait.", kSystemLineColour);
    if (params_.size() < 3) return;
    model_.setPlayerName(params_[0].toStdString());
    hostAddress_ = params_[1];
    if (params_[2] == QLatin1String("true"))
        hostpress();
    else
        joinpress();
    openSock11();
}

void Tchat::hostpress() {
    if (!server_) return;
    try {
        server_->listen();
    } catch (const ESockException& e) {
        // Another program holds the port: say so and stay open, not connected.
        QMessageBox::critical(this, QStringLiteral("Plimb"), QString::fromUtf8(e.what()));
        return;
    }
    model_.hostpress();
    sock.HostName = QStringLiteral("127.0.0.1");
    sock.Open();
    StartGame1->setEnabled(true);
    refresh();
}

void Tchat::joinpress() {
    model_.joinpress();
    sock.HostName = hostAddress_;
    sock.Open();
    StartGame1->setEnabled(false);
    refresh();
}

void Tchat::openSock11() {
    // An extra loopback connection the lobby watches for; nothing is sent or read on it, and a
    // failed connect is silent.
    Sock11 = new QTcpSocket(this);
    Sock11->connectToHost(QStringLiteral("127.0.0.1"), 9001);
}

void Tchat::sockRead(TSock* sender) {
    const QByteArray bytes = sender->Receive();
    std::vector<std::string> messages;
    const bool ok =
        framer_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), messages);
    for (auto& m : messages)
        model_.received(std::move(m));
    // The queue drains one notice per tick; a host that outruns it by this much is broken or
    // hostile, and ending the connection is the only bound on our memory.
    if (!ok || model_.queueSize() > kMaxQueuedNotices) sender->Close();
    armTimer1();
}

void Tchat::sockInfo(TSock*, TSocketInfo, const QString& text) {
    // Losing the game connection ends the program, once the notices that came before the close
    // have been shown (a refused client must still see "Game is full").
    if (text != QLatin1String("Socket Closed")) return;
    connectionLost_ = true;
    if (model_.queueEmpty())
        closeMainWindow();
    else
        armTimer1();
}

void Tchat::armTimer1() {
    if (!modal_ && model_.timer1Needed() && !Timer1.isActive()) Timer1.start();
}

void Tchat::Timer1Timer() {
    model_.timer1Timer();
    refresh();
    if (connectionLost_ && model_.queueEmpty()) closeMainWindow();
    if (!model_.timer1Needed()) Timer1.stop();
}

void Tchat::refresh() {
    panel_->render(model_.view());
    spylist_->render(model_.spys(), model_.spyKickEnabled());
    JustWatch1->setChecked(model_.view().justWatch);
}

void Tchat::button_startClick() {
    if (model_.startButtonClick()) gamestart_->showOver(this);
}

void Tchat::sendRequest(const std::string& text) {
    if (!sock.isConnected()) return;
    sock.Send(QByteArray::fromStdString(frame(text)));
}

void Tchat::addlinetochat(const std::string& line, Colour colour) {
    chat_->addlinetochat(line, colour);
}

// Sound playback and the tally window attach to these seams; until then the window stays quiet
// and keeps only the record thresholds the model compares new words against.
void Tchat::playsounds(const std::string&) {}
void Tchat::playChatter(const std::string&) {}

void Tchat::showMessage(const std::string& text) {
    // Notices wait while the user reads the box, so none runs in the middle of the handler that
    // asked for it; a lost connection closes the window only once the box is dismissed.
    modal_ = true;
    Timer1.stop();
    QMessageBox::information(this, QStringLiteral("Plimb"), QString::fromStdString(text));
    modal_ = false;
    if (closeAfterBox_) {
        closeAfterBox_ = false;
        closeMainWindow();
        return;
    }
    armTimer1();
}

void Tchat::closeMainWindow() {
    if (closing_) return;
    if (modal_) {
        closeAfterBox_ = true;
        return;
    }
    closing_ = true;
    QTimer::singleShot(0, this, &QWidget::close);
}

void Tchat::startTurnTimer() {
    // Starting a running timer would restart its rhythm; keep it.
    if (!turntimer.isActive()) turntimer.start();
}
void Tchat::stopTurnTimer() {
    turntimer.stop();
}

// The settings file is read here once it exists; the built-in defaults stand until then.
void Tchat::loadinifile() {}

void Tchat::addword(const std::string&, int value, int column) {
    if (column == 3) longestWord_ = value;
    if (column == 5) bestScore_ = value;
}
void Tchat::anotherword(int) {}
void Tchat::addgame(const std::string&) {}

} // namespace plimb
