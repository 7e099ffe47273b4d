#include "app/tchat.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTcpSocket>
#include <QTime>
#include <QVBoxLayout>

#include "app/datafiles.h"
#include "app/hostjoindialog.h"
#include "chat/chatwidget.h"
#include "chat/phrasebar.h"
#include "chat/soundplayer.h"
#include "chat/tphrases.h"
#include "board/gamepanel.h"
#include "board/quickhelp.h"
#include "board/tgamestart.h"
#include "board/tspylist.h"
#include "net/protocol.h"
#include "rules/random.h"
#include "server/tserver.h"
#include "windows/tabout.h"
#include "windows/tdownload.h"
#include "windows/thelp.h"
#include "windows/ttallylist.h"

namespace plimb {

Tchat::Tchat(Random& random, QWidget* parent)
    : QMainWindow(parent), model_(*this), settings_([] {
          return dataFilePath(QString::fromUtf8(kSettingsFileName.data(), kSettingsFileName.size()));
      }) {
    setWindowTitle(QStringLiteral("Plimb"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    // The layout keeps the window from shrinking below the board panel and a 6-pixel margin.
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    panel_ = new GamePanel(central);
    chat_ = new ChatWidget(central);
    phrases_ = new PhraseBar(central);
    auto* chatRow = new QHBoxLayout;
    chatRow->setSpacing(3);
    chatRow->addWidget(phrases_);
    chatRow->addWidget(chat_, 1);
    layout->addWidget(panel_, 0, Qt::AlignHCenter);
    layout->addLayout(chatRow, 1);
    setCentralWidget(central);
    panel_help = new QuickHelp(panel_->art(), central);
    gamestart_ = new Tgamestart(this);
    spylist_ = new Tspylist(this);
    tallylist_ = new Ttallylist(this);
    // A damaged tally file is said once; the tally then starts empty and is written back whole.
    if (const auto error = tallylist_->load(tallyPath()))
        QTimer::singleShot(0, this, [this, text = *error] { showMessage(text.toStdString()); });
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
    connect(chat_, &ChatWidget::settingsChanged, this, &Tchat::saveinifile);
    connect(phrases_, &PhraseBar::phraseClicked, this, &Tchat::b_phrase1Click);
    connect(phrases_, &PhraseBar::chatterChosen, this, [this](int tag) { model_.wave20Click(tag); });

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
    panel_->setSelectionSource([this] {
        return GamePanel::Selection{model_.selectedHand(), model_.selectedBoard(), model_.selectedOpponent()};
    });
    panel_->placeInTabOrderAfter(chat_->mychat());
    connect(panel_, &GamePanel::startClicked, this, &Tchat::button_startClick);
    connect(panel_, &GamePanel::nameContextMenuRequested, this, &Tchat::showNamePopup);
    connect(gamestart_, &Tgamestart::startRequested, this,
            [this](const QString& time, const QString& playto, const QString& steals, bool unlimited) {
                model_.sendStartGame(time.toStdString(), playto.toStdString(), steals.toStdString(),
                                     unlimited);
                saveinifile();
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
    file->addAction(QStringLiteral("Host a Game..."), this,
                    [this] { openHostJoinDialog(this, GameRole::Host, settings_, relaunch_); })
        ->setObjectName(QStringLiteral("HostGame1"));
    file->addAction(QStringLiteral("Join a Game..."), this,
                    [this] { openHostJoinDialog(this, GameRole::Join, settings_, relaunch_); })
        ->setObjectName(QStringLiteral("JoinGame1"));
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
    PlaySounds1 = options->addAction(QStringLiteral("Play Sounds"));
    PlaySounds1->setObjectName(QStringLiteral("PlaySounds1"));
    PlaySounds1->setCheckable(true);
    PlaySounds1->setChecked(model_.playSounds);
    connect(PlaySounds1, &QAction::triggered, this, [this](bool on) {
        model_.playSounds = on;
        saveinifile();
    });
    PlayChatterSounds1 = options->addAction(QStringLiteral("Play Chatter Sounds"));
    PlayChatterSounds1->setObjectName(QStringLiteral("PlayChatterSounds1"));
    PlayChatterSounds1->setCheckable(true);
    PlayChatterSounds1->setChecked(model_.playChatterSounds);
    connect(PlayChatterSounds1, &QAction::triggered, this, [this](bool on) {
        model_.playChatterSounds = on;
        saveinifile();
    });
    QMenu* turnSound = options->addMenu(QStringLiteral("Turn Sound"));
    turnSound->setObjectName(QStringLiteral("TurnSound1"));
    auto* turnSounds = new QActionGroup(this);
    Classic1 = turnSound->addAction(QStringLiteral("Classic"));
    New1 = turnSound->addAction(QStringLiteral("New"));
    for (QAction* item : {Classic1, New1}) {
        item->setCheckable(true);
        turnSounds->addAction(item);
    }
    Classic1->setObjectName(QStringLiteral("Classic1"));
    New1->setObjectName(QStringLiteral("New1"));
    Classic1->setChecked(true);
    connect(Classic1, &QAction::triggered, this, [this] { New1Click(0); });
    connect(New1, &QAction::triggered, this, [this] { New1Click(1); });
    QMenu* computer = options->addMenu(QStringLiteral("Computer Player"));
    computer->setObjectName(QStringLiteral("ComputerPlayer1"));
    auto* computerKinds = new QActionGroup(this);
    ComputerClassic1 = computer->addAction(QStringLiteral("Classic"));
    ComputerStrong1 = computer->addAction(QStringLiteral("Strong"));
    ComputerClassic1->setObjectName(QStringLiteral("ComputerClassic1"));
    ComputerStrong1->setObjectName(QStringLiteral("ComputerStrong1"));
    for (QAction* item : {ComputerClassic1, ComputerStrong1}) {
        item->setCheckable(true);
        item->setEnabled(false); // the host's window only: its server runs the computer player
        computerKinds->addAction(item);
    }
    ComputerClassic1->setChecked(true);
    connect(ComputerClassic1, &QAction::triggered, this,
            [this] { ComputerPlayer1Click(ComputerKind::Classic); });
    connect(ComputerStrong1, &QAction::triggered, this,
            [this] { ComputerPlayer1Click(ComputerKind::Strong); });
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
    view->addAction(QStringLiteral("Phrase List"), this, &Tchat::PrhaseList1Click)
        ->setObjectName(QStringLiteral("PrhaseList1"));
    view->addAction(QStringLiteral("View Tally"), this, &Tchat::ViewTally1Click)
        ->setObjectName(QStringLiteral("ViewTally1"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(quickInstructions);
    QAction* content =
        help->addAction(QStringLiteral("Content"), this, [this] { this->help()->showOver(this); });
    content->setObjectName(QStringLiteral("Content1"));
    content->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(QStringLiteral("About"), this, [this] { about()->showOver(this); })
        ->setObjectName(QStringLiteral("About1"));
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
        downloadWindow()->showCentred();
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
    // Our connection's port is fixed before listening starts, so the server can keep seat 1 for
    // it even when a peer's connection reaches the port first.
    server_->reserveHostSeat(sock.bindLoopback());
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
    ComputerClassic1->setEnabled(true);
    ComputerStrong1->setEnabled(true);
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
    if (!ok || model_.queueSize() > kMaxQueuedNotices || model_.queuedBytes() > kMaxQueuedNoticeBytes)
        sender->Close();
    armTimer1();
}

void Tchat::sockInfo(TSock*, TSocketInfo info, const QString& text) {
    // A connect that fails only reports an error; without a word in the chat the user would wait
    // for the loading line forever.
    if (info == TSocketInfo::Error && !sock.isConnected()) {
        model_.connectFailed(sock.HostName.toStdString(), text.toStdString());
        return;
    }
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
    if (model_.timer1Needed() && !Timer1.isActive()) Timer1.start();
}

void Tchat::Timer1Timer() {
    model_.timer1Timer();
    refresh();
    if (connectionLost_ && model_.queueEmpty()) closeMainWindow();
    if (!model_.timer1Needed()) Timer1.stop();
}

void Tchat::refresh() {
    panel_->render(model_.view());
    panel_->animate(model_.takeFeedback());
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

SoundPlayer& Tchat::sounds() {
    // Made on the first sound, so a window that stays silent never touches the audio system.
    if (!sounds_) sounds_ = std::make_unique<SoundPlayer>();
    return *sounds_;
}

void Tchat::playsounds(const std::string& name) {
    sounds().play(QString::fromStdString(name));
}

void Tchat::playChatter(const std::string& name) {
    sounds().play(QString::fromStdString(name));
}

void Tchat::b_phrase1Click(const QString& phrase) {
    if (model_.phraseClick(phrase.toStdString(), chat_->actionColour())) armTimer1();
}

Tphrases* Tchat::phraseEditor() {
    // Made when first opened: most runs never edit their phrases.
    if (phraseEditor_ == nullptr) {
        phraseEditor_ = new Tphrases(this);
        connect(phraseEditor_, &Tphrases::phrasesChosen, this, [this](const std::array<QString, 9>& texts) {
            for (int n = 1; n <= 9; ++n)
                phrases_->setPhrase(n, texts[static_cast<std::size_t>(n - 1)]);
            const auto stored = phrases_->phrases();
            settings_.update([&stored](IniFile& ini) { writePhrases(ini, stored); });
        });
    }
    return phraseEditor_;
}

void Tchat::PrhaseList1Click() {
    std::array<QString, 9> texts;
    for (int n = 1; n <= 9; ++n)
        texts[static_cast<std::size_t>(n - 1)] = phrases_->phrase(n);
    phraseEditor()->openWith(texts, this);
}

void Tchat::New1Click(int tag) {
    model_.turnSound = tag;
    Classic1->setChecked(tag == 0);
    New1->setChecked(tag == 1);
    saveinifile();
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

void Tchat::startTurnTimer() {
    // Starting a running timer would restart its rhythm; keep it.
    if (!turntimer.isActive()) turntimer.start();
}
void Tchat::stopTurnTimer() {
    turntimer.stop();
}

WindowBounds Tchat::currentBounds() const {
    return {x(), y(), width(), height()};
}

void Tchat::loadinifile() {
    const IniFile ini = settings_.read();
    const LoadedSettings s = readSettings(ini);
    // Bounds that do not fit the screen they name come from a damaged file or a screen that is
    // gone: the window opens at the defaults. savedBounds_ keeps what the file says, so closing
    // repairs it.
    savedBounds_ = s.bounds;
    const QScreen* screen = QGuiApplication::screenAt(QPoint(s.bounds.left, s.bounds.top));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    const WindowBounds shown = fitToDesktop(s.bounds, {area.x(), area.y(), area.width(), area.height()});
    move(shown.left, shown.top);
    resize(shown.width, shown.height);

    model_.turnSound = s.turnSound;
    Classic1->setChecked(s.turnSound == 0);
    New1->setChecked(s.turnSound == 1);
    chat_->setTextSize(s.textSize);
    chat_->setTextColour(s.textColour);
    chat_->setActionColour(s.actionColour);
    for (int n = 1; n <= 9; ++n)
        if (const auto& phrase = s.phrases[static_cast<std::size_t>(n - 1)])
            phrases_->setPhrase(n, QString::fromStdString(*phrase));
    model_.playSounds = s.playSounds;
    PlaySounds1->setChecked(s.playSounds);
    if (s.playToScore) gamestart_->setPlayToScoreText(QString::fromStdString(*s.playToScore));
    if (s.creationTime) gamestart_->setTimePerTurnText(QString::fromStdString(*s.creationTime));
    if (s.steals) gamestart_->setStealsText(QString::fromStdString(*s.steals));
    gamestart_->setUnlimited(s.unlimited);
    model_.playChatterSounds = s.chatterSounds;
    PlayChatterSounds1->setChecked(s.chatterSounds);

    const ComputerKind kind = parseComputerKind(ini.get(kSettingsSection, "Klot").value_or(""));
    (kind == ComputerKind::Strong ? ComputerStrong1 : ComputerClassic1)->setChecked(true);
    if (server_ != nullptr && model_.isHost()) server_->setComputerPlayer(kind);
}

void Tchat::saveinifile() {
    SavedSettings s;
    s.textSize = chat_->textSize();
    s.textColour = chat_->textColour();
    s.actionColour = chat_->actionColour();
    s.playToScore = gamestart_->playToScoreText().toStdString();
    s.creationTime = gamestart_->timePerTurnText().toStdString();
    s.steals = gamestart_->stealsText().toStdString();
    s.bounds = currentBounds();
    s.turnSound = model_.turnSound;
    s.unlimited = gamestart_->unlimited();
    s.playSounds = model_.playSounds;
    s.chatterSounds = model_.playChatterSounds;
    settings_.update([&s](IniFile& ini) { writeSettings(ini, s); });
    savedBounds_ = s.bounds;
}

void Tchat::closeEvent(QCloseEvent* event) {
    // FormClose: a window that was moved or resized keeps its place for the next run.
    if (currentBounds() != savedBounds_) saveinifile();
    tallylist_->save(tallyPath());
    QMainWindow::closeEvent(event);
}

// The side windows are made when first shown; a game that never opens them never pays for them.
Tabout* Tchat::about() {
    if (about_ == nullptr) about_ = new Tabout(this);
    return about_;
}

Thelp* Tchat::help() {
    if (help_ == nullptr) help_ = new Thelp(about(), this);
    return help_;
}

Tdownload* Tchat::downloadWindow() {
    if (download_ == nullptr) {
        const auto lobby = settings_.read().get(kSettingsSection, "LobbyServer");
        download_ = new Tdownload(QString::fromStdString(lobby.value_or(Tdownload::kDefaultLobbyServer)),
                                  QFileInfo(tallyPath()).absolutePath(), this);
        connect(download_, &Tdownload::closeGameRequested, this, &QWidget::close);
    }
    return download_;
}

QString Tchat::tallyPath() const {
    return dataFilePath(QStringLiteral("plimbtally.tld"));
}

std::vector<std::string> Tchat::opponentNames() const {
    std::vector<std::string> names;
    for (int seat : {1, 2}) {
        const std::string& name = model_.view().rowFor(seat).name;
        if (seat != model_.mySeat() && name != "<Waiting>") names.push_back(name);
    }
    return names;
}

void Tchat::addword(const std::string& word, int value, int column) {
    tallylist_->addword(word, value, column);
}
void Tchat::anotherword(int column) {
    tallylist_->anotherword(column);
}
void Tchat::addgame(const std::string& winnerText) {
    tallylist_->addgame(winnerText, opponentNames());
}
int Tchat::longestWordRecord() const {
    return tallylist_->longestWordRecord();
}
int Tchat::bestScoreRecord() const {
    return tallylist_->bestScoreRecord();
}

void Tchat::ViewTally1Click() {
    tallylist_->loadchecklist(opponentNames());
    tallylist_->showOver(this);
}

void Tchat::ComputerPlayer1Click(ComputerKind kind) {
    if (server_ != nullptr) server_->setComputerPlayer(kind);
    settings_.update([kind](IniFile& ini) { ini.set(kSettingsSection, "Klot", formatComputerKind(kind)); });
}

} // namespace plimb
