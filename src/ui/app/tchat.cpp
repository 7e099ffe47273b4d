#include "ui/app/tchat.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/hostjoinargs.h"
#include "core/app/invitelink.h"
#include "core/net/socketerror.h"
#include "core/rules/random.h"
#include "ui/app/connectionbanner.h"
#include "ui/app/datafiles.h"
#include "ui/app/hostingservices.h"
#include "ui/app/hostjoindialog.h"
#include "ui/board/boardbinding.h"
#include "ui/board/gamepanel.h"
#include "ui/board/quickhelp.h"
#include "ui/board/tgamestart.h"
#include "ui/chat/chatwidget.h"
#include "ui/chat/phrasebar.h"
#include "ui/net/tsock.h"
#include "ui/server/tserver.h"
#include "ui/windows/tdownload.h"

namespace plimb {

Tchat::Tchat(Random& random, QWidget* parent)
    : QMainWindow(parent), settingsFile_([] {
          return dataFilePath(QString::fromUtf8(kSettingsFileName.data(), kSettingsFileName.size()));
      }),
      central_(new QWidget(this)), panel_(new GamePanel(central_)), chat_(new ChatWidget(central_)),
      phrases_(new PhraseBar(central_)), model_(ports_.ports()),
      windows_(*this, model_, settingsFile_, *phrases_, *this),
      recorder_(model_, windows_.records(), [] { return QDateTime::currentMSecsSinceEpoch(); },
                [this](const std::string& line) { addlinetochat(line, kSystemLineColour); }),
      pump_(model_),
      menus_(*this, model_, *chat_, windows_, settingsFile_),
      settings_(*this, model_, settingsFile_, *chat_, *phrases_, windows_, menus_, recorder_),
      links_(*this,
             GameLinks::Hooks{[this] { return model_.gameInProgress(); },
                              [this](const QString& link) { menus_.relaunch({link}); },
                              [this](const std::string& line) { addlinetochat(line, kSystemLineColour); }}) {
    ports_.bind(ClientPorts{pump_, *this, sounds_, pump_, settings_, windows_, recorder_});
    setWindowTitle(QStringLiteral("Plimb"));

    auto* layout = new QVBoxLayout(central_);
    // The layout keeps the window from shrinking below the board panel and a 6-pixel margin.
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    auto* chatRow = new QHBoxLayout;
    chatRow->setSpacing(3);
    chatRow->addWidget(phrases_);
    chatRow->addWidget(chat_, 1);
    layout->addWidget(panel_, 0, Qt::AlignHCenter);
    layout->addLayout(chatRow, 1);
    setCentralWidget(central_);
    panel_help = new QuickHelp(panel_->art(), central_);
    banner_ = new ConnectionBanner(central_);

    resize(kDefaultWidth, kDefaultHeight);
    move(WindowBounds{}.left, WindowBounds{}.top);

    const QTime now = QTime::currentTime();
    random.seed(seedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec()));

    connect(&pump_, &ConnectionPump::modelChanged, this, &Tchat::refresh);
    connect(&pump_, &ConnectionPump::connectionEnded, this, &Tchat::connectionEnded);
    connect(&pump_, &ConnectionPump::attemptFailed, this,
            [this](const QString& host, int port, int code, const QString& error) {
                // A game that was lost is retried quietly, the banner counting; a join that does
                // not get in, and the host's own connection, say why in the chat.
                if (!rejoin_.returning())
                    model_.connectFailed(host.toStdString(), port, code, error.toStdString());
                rejoin_.attemptFailed();
                showRejoin();
            });
    rejoinTimer_.setInterval(1000);
    connect(&rejoinTimer_, &QTimer::timeout, this, [this] { rejoinAct(rejoin_.tick()); });
    connect(banner_, &ConnectionBanner::rejoinClicked, this, [this] { rejoinAct(rejoin_.rejoinPressed()); });
    connect(banner_, &ConnectionBanner::quitClicked, this, &QWidget::close);
    connect(&menus_, &MainMenus::modelChanged, this, &Tchat::refresh);
    connect(&menus_, &MainMenus::startGameChosen, this, &Tchat::button_startClick);
    connect(&menus_, &MainMenus::quickInstructionsChosen, this, &Tchat::QuickInstructions1Click);
    connect(&menus_, &MainMenus::switchesChanged, this, &Tchat::saveinifile);
    connect(&menus_, &MainMenus::keepRecordsChosen, this, [this](bool on) { settings_.keepRecords(on); });
    connect(&menus_, &MainMenus::computerPlayerChosen, this,
            [this](ComputerKind kind) { settings_.chooseComputerPlayer(kind); });

    // The chat asks about an invitation link as a game to join, and about any other link that is
    // not a web or mail address as before.
    chat_->setLinkQuestion([this](const QString& link) { return links_.askBeforeOpening(link); });
    // An invitation link clicked in the chat (once the player said yes) joins that game here, under
    // the remembered name; handing it to the desktop would only raise this window again.
    chat_->setLinkOpener([this](const QString& link) {
        if (isInvitationLink(link.toStdString()))
            menus_.relaunch({link});
        else
            openWithDesktop(link);
    });
    chat_->setSessionSource([this] { return ChatSession{model_.me().loggedIn, model_.me().seat}; });
    connect(chat_, &ChatWidget::requestReady, this,
            [this](const std::string& text) { pump_.sendRequest(text); });
    connect(chat_, &ChatWidget::settingsChanged, this, &Tchat::saveinifile);
    connect(phrases_, &PhraseBar::phraseClicked, this, &Tchat::b_phrase1Click);
    connect(phrases_, &PhraseBar::chatterChosen, this, [this](int tag) { model_.wave20Click(tag); });

    bindBoardInput(*panel_, model_.input(), [this] { refresh(); });
    panel_->placeInTabOrderAfter(chat_->mychat());
    connect(panel_, &GamePanel::startClicked, this, &Tchat::button_startClick);
    connect(panel_, &GamePanel::nameContextMenuRequested, &menus_, &MainMenus::showNamePopup);
    windows_.setStartRequest([this](const GameOptionTexts& options) {
        model_.sendStartGame(options.timePerTurn.toStdString(), options.playToScore.toStdString(),
                             options.steals.toStdString(), options.unlimited);
        saveinifile();
    });
    refresh();
}

Tchat::~Tchat() {
    closing_ = true;
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
    menus_.setStartGameEnabled(false);
    if (params_.isEmpty()) {
        addlinetochat("Loading Solo Game..Please wait.", kSystemLineColour);
        model_.setPlayerName(std::string(kSoloName));
        hostpress();
        model_.showComputerOpponent();
        // There is no lobby program for this system unless the settings name a lobby server to
        // fetch it from; without one the solo game is shown alone.
        const auto lobby = settingsFile_.read().get("Plimb", "LobbyServer");
        if (lobby && !trimBlanks(*lobby).empty()) downloadWindow()->showCentred();
        return;
    }
    addlinetochat("Loading Multi-player Game.. Please Wait.", kSystemLineColour);
    std::vector<std::string> params;
    for (const QString& p : params_)
        params.push_back(p.toStdString());
    const StartupPlan plan = planStartup(params, settingsFile_.read().get("Plimb", "Name").value_or(""));
    switch (plan.kind) {
    case StartupKind::Solo:
    case StartupKind::Incomplete:
        return;
    case StartupKind::BadLink:
        addlinetochat(plan.error, kSystemLineColour);
        QMessageBox::warning(this, QStringLiteral("Plimb"), QString::fromStdString(plan.error));
        return;
    case StartupKind::JoinAskName:
        askNameThenJoin(plan.address);
        return;
    case StartupKind::Host:
    case StartupKind::Join:
        break;
    }
    model_.setPlayerName(plan.name);
    joinAddress_ = plan.address;
    hostAddress_ = QString::fromStdString(shownAddress(plan.address));
    if (plan.kind == StartupKind::Host) {
        hostpress();
        // A solo game stays private; a game hosted for others is announced and its port opened.
        if (model_.me().isHost && server_) {
            hosting_ = std::make_unique<HostingServices>(
                *server_, [this](const std::string& line) { addlinetochat(line, kSystemLineColour); });
            hosting_->start(QString::fromStdString(plan.name));
        }
    } else {
        joinpress();
    }
    pump_.openLobbyWatch();
}

void Tchat::askNameThenJoin(const HostPort& address) {
    addlinetochat("Type your name to join the game at " + shownAddress(address) + ".", kSystemLineColour);
    openHostJoinDialog(
        this, GameRole::Join, settingsFile_, [this](const QStringList& args) { menus_.relaunch(args); },
        QString::fromStdString(shownAddress(address)));
}

void Tchat::hostpress() {
    if (!server_) return;
    // Our connection's port is fixed before listening starts, so the server can keep seat 1 for
    // it even when a peer's connection reaches the port first.
    server_->reserveHostSeat(pump_.bindLoopback());
    try {
        server_->listen();
    } catch (const ESockException& e) {
        // Another program holds the port: say so and stay open, not connected.
        QMessageBox::critical(this, QStringLiteral("Plimb"), QString::fromUtf8(e.what()));
        return;
    }
    model_.hostpress();
    pump_.open(QStringLiteral("127.0.0.1"));
    menus_.setStartGameEnabled(true);
    menus_.enableComputerPlayer();
    refresh();
}

void Tchat::joinpress() {
    model_.joinpress();
    rejoin_.joining();
    showRejoin();
    pump_.open(QString::fromStdString(joinAddress_.host), joinAddress_.port);
    menus_.setStartGameEnabled(false);
    refresh();
}

void Tchat::connectionEnded() {
    // The game this window saw ends here for it; a rejoin does not take the record up again.
    recorder_.close();
    // A first join that got through but was turned away before it got in (a full table, say)
    // ends as it always did.
    if (rejoin_.phase() == Rejoin::Phase::Joining) {
        closeMainWindow();
        return;
    }
    if (rejoin_.attempting()) {
        // The new connection closed before it logged in.
        rejoin_.attemptFailed();
        showRejoin();
        return;
    }
    // The host's own window, and a window that never got in (a full table, say), end as they
    // always did; a joined player or spectator may get back in.
    if (model_.me().isHost || !model_.me().loggedIn) {
        closeMainWindow();
        return;
    }
    menus_.setStartGameEnabled(false);
    const int secondsIn =
        inSince_.isValid() ? static_cast<int>(inSince_.elapsed() / 1000) : Rejoin::kSettledSeconds;
    rejoinAct(rejoin_.lost(model_.removedByHost(), secondsIn));
}

void Tchat::rejoinAct(Rejoin::Action action) {
    if (action == Rejoin::Action::AbortAttempt) {
        pump_.abortAttempt();
        // A host that drops what is sent to it never refuses: the time limit is the answer.
        if (!rejoin_.returning())
            model_.connectFailed(joinAddress_.host, joinAddress_.port, kSockTimedOut,
                                 socketErrorLine(kSockTimedOut).toStdString());
    }
    if (action == Rejoin::Action::Attempt) pump_.reopen();
    showRejoin();
}

void Tchat::showRejoin() {
    if (rejoin_.ticking()) {
        if (!rejoinTimer_.isActive()) rejoinTimer_.start();
    } else {
        rejoinTimer_.stop();
    }
    if (!rejoin_.active()) {
        banner_->hide();
        return;
    }
    banner_->present(QString::fromStdString(rejoin_.headline(hostAddress_.toStdString())),
                     QString::fromStdString(rejoin_.detail()), QString::fromStdString(rejoin_.actionText()),
                     rejoin_.rejoinEnabled());
}

void Tchat::refresh() {
    if (rejoin_.attempting() && model_.inTheGame()) {
        inSince_.start();
        const bool cameBack = rejoin_.rejoined();
        showRejoin();
        if (cameBack)
            addlinetochat("Rejoined the game at " + hostAddress_.toStdString() + ".", kSystemLineColour);
    }
    panel_->render(model_.view());
    panel_->animate(model_.takeFeedback());
    windows_.render();
    menus_.showJustWatch(model_.view().justWatch);
}

void Tchat::button_startClick() {
    if (model_.startButtonClick()) gameStart()->showOver(this);
}

void Tchat::b_phrase1Click(const QString& phrase) {
    if (model_.phraseClick(phrase.toStdString(), chat_->actionColour())) pump_.armTimer1();
}

void Tchat::addlinetochat(const std::string& line, Colour colour) {
    chat_->addlinetochat(line, colour);
}

void Tchat::showMessage(const std::string& text) {
    if (boxes_.offer(text)) openBox(QString::fromStdString(text));
}

void Tchat::openBox(const QString& text) {
    // Shown without a loop of its own, so the handler that asked for it runs to its end and the
    // notices after it go on; the window closes only once the last box is dismissed.
    auto* box =
        new QMessageBox(QMessageBox::Information, QStringLiteral("Plimb"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(true);
    connect(box, &QDialog::finished, this, [this] {
        if (const auto next = boxes_.dismissed()) {
            openBox(QString::fromStdString(*next));
            return;
        }
        if (closeAfterBox_) {
            closeAfterBox_ = false;
            closeMainWindow();
        }
    });
    box->show();
}

void Tchat::closeMainWindow() {
    if (closing_) return;
    if (boxes_.isOpen()) {
        closeAfterBox_ = true;
        return;
    }
    closing_ = true;
    QTimer::singleShot(0, this, &QWidget::close);
}

void Tchat::closeEvent(QCloseEvent* event) {
    links_.stop();
    recorder_.close();
    // FormClose: a window that was moved or resized keeps its place for the next run.
    settings_.saveIfMoved();
    windows_.saveTally();
    // Hosting ends with the window: the announcement and the router's mapping go now.
    hosting_.reset();
    QMainWindow::closeEvent(event);
}

} // namespace plimb
