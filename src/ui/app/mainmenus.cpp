#include "ui/app/mainmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "core/settings/settings.h"
#include "ui/app/hostjoindialog.h"
#include "ui/app/sidewindows.h"
#include "ui/chat/chatwidget.h"
#include "ui/windows/tabout.h"
#include "ui/windows/thelp.h"

namespace plimb {

MainMenus::MainMenus(QMainWindow& window, ClientModel& model, ChatWidget& chat, SideWindows& windows,
                     const SettingsStore& settings)
    : window_(window), model_(model), windows_(windows), settings_(settings) {
    buildFile();
    buildOptions(chat);
    buildViewAndHelp();
}

void MainMenus::buildFile() {
    QMenu* file = window_.menuBar()->addMenu(QStringLiteral("&File"));
    StartGame1 = file->addAction(QStringLiteral("Start Game"), this, &MainMenus::startGameChosen);
    StartGame1->setObjectName(QStringLiteral("StartGame1"));
    StartGame1->setEnabled(false);
    file->addSeparator();
    file->addAction(QStringLiteral("Host a Game..."), this,
                    [this] { openHostJoinDialog(&window_, GameRole::Host, settings_, relaunch_); })
        ->setObjectName(QStringLiteral("HostGame1"));
    file->addAction(QStringLiteral("Join a Game..."), this,
                    [this] { openHostJoinDialog(&window_, GameRole::Join, settings_, relaunch_); })
        ->setObjectName(QStringLiteral("JoinGame1"));
    file->addSeparator();
    file->addAction(QStringLiteral("Replay a Game..."), this, [this] { windows_.showReplayList(); })
        ->setObjectName(QStringLiteral("ReplayGame1"));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), &window_, &QWidget::close);
}

void MainMenus::buildOptions(ChatWidget& chat) {
    QMenu* options = window_.menuBar()->addMenu(QStringLiteral("&Options"));
    JustWatch1 = options->addAction(QStringLiteral("Just Watch"));
    JustWatch1->setCheckable(true);
    // The check mark follows the server's announcements only; a click just asks.
    connect(JustWatch1, &QAction::triggered, this, [this] {
        model_.spectators().justWatchClick();
        emit modelChanged();
    });
    options->addSeparator();
    PlaySounds1 = options->addAction(QStringLiteral("Play Sounds"));
    PlaySounds1->setObjectName(QStringLiteral("PlaySounds1"));
    PlaySounds1->setCheckable(true);
    PlaySounds1->setChecked(model_.switches().playSounds);
    connect(PlaySounds1, &QAction::triggered, this, [this](bool on) {
        model_.switches().playSounds = on;
        emit switchesChanged();
    });
    PlayChatterSounds1 = options->addAction(QStringLiteral("Play Chatter Sounds"));
    PlayChatterSounds1->setObjectName(QStringLiteral("PlayChatterSounds1"));
    PlayChatterSounds1->setCheckable(true);
    PlayChatterSounds1->setChecked(model_.switches().playChatterSounds);
    connect(PlayChatterSounds1, &QAction::triggered, this, [this](bool on) {
        model_.switches().playChatterSounds = on;
        emit switchesChanged();
    });
    QMenu* turnSound = options->addMenu(QStringLiteral("Turn Sound"));
    turnSound->setObjectName(QStringLiteral("TurnSound1"));
    auto* turnSounds = new QActionGroup(&window_);
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
    auto* computerKinds = new QActionGroup(&window_);
    for (std::size_t i = 0; i < kComputerKinds.size(); ++i) {
        const ComputerKind kind = kComputerKinds[i];
        const QString title = QString::fromUtf8(computerKindTitle(kind).data(),
                                                static_cast<qsizetype>(computerKindTitle(kind).size()));
        QAction* item = computer->addAction(title);
        item->setObjectName(QStringLiteral("Computer") + title + QStringLiteral("1"));
        item->setCheckable(true);
        item->setEnabled(false); // the host's window only: its server runs the computer player
        item->setChecked(kind == ComputerKind::Classic);
        computerKinds->addAction(item);
        connect(item, &QAction::triggered, this, [this, kind] { emit computerPlayerChosen(kind); });
        computerItems_[i] = item;
    }
    KeepRecords1 = options->addAction(QStringLiteral("Keep Game Records"));
    KeepRecords1->setObjectName(QStringLiteral("KeepRecords1"));
    KeepRecords1->setCheckable(true);
    KeepRecords1->setChecked(true);
    connect(KeepRecords1, &QAction::triggered, this, &MainMenus::keepRecordsChosen);
    options->addSeparator();
    options->addAction(chat.textColorAction());
    options->addAction(chat.actionColorAction());
    options->addMenu(chat.textSizeMenu());
    options->addAction(chat.scrollOffOptionsAction());
    options->addAction(chat.clearAction());
    options->addSeparator();
    options->addAction(QStringLiteral("Reset Screen Location"), this, [this] {
        const WindowBounds home;
        window_.showNormal();
        window_.move(home.left, home.top);
        window_.resize(home.width, home.height);
    });
}

void MainMenus::buildViewAndHelp() {
    // One action in both menus, so its Ctrl+I is never ambiguous.
    auto* quickInstructions = new QAction(QStringLiteral("Quick Instructions"), &window_);
    quickInstructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(quickInstructions, &QAction::triggered, this, &MainMenus::quickInstructionsChosen);

    QMenu* view = window_.menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(quickInstructions);
    view->addAction(QStringLiteral("Spy List"), this, [this] { windows_.showSpyList(); });
    view->addAction(QStringLiteral("Phrase List"), this, [this] { windows_.showPhraseList(); })
        ->setObjectName(QStringLiteral("PrhaseList1"));
    view->addAction(QStringLiteral("View Tally"), this, [this] { windows_.showTally(); })
        ->setObjectName(QStringLiteral("ViewTally1"));

    QMenu* help = window_.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(quickInstructions);
    QAction* content =
        help->addAction(QStringLiteral("Content"), this, [this] { windows_.help()->showOver(&window_); });
    content->setObjectName(QStringLiteral("Content1"));
    content->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(QStringLiteral("About"), this, [this] { windows_.about()->showOver(&window_); })
        ->setObjectName(QStringLiteral("About1"));
}

void MainMenus::New1Click(int tag) {
    model_.switches().turnSound = tag;
    showTurnSound(tag);
    emit switchesChanged();
}

void MainMenus::setStartGameEnabled(bool enabled) {
    StartGame1->setEnabled(enabled);
}

void MainMenus::enableComputerPlayer() {
    for (QAction* item : computerItems_)
        item->setEnabled(true);
}

void MainMenus::showJustWatch(bool on) {
    JustWatch1->setChecked(on);
}

void MainMenus::showPlaySounds(bool on) {
    PlaySounds1->setChecked(on);
}

void MainMenus::showKeepRecords(bool on) {
    KeepRecords1->setChecked(on);
}

void MainMenus::showChatterSounds(bool on) {
    PlayChatterSounds1->setChecked(on);
}

void MainMenus::showTurnSound(int turnSound) {
    Classic1->setChecked(turnSound == 0);
    New1->setChecked(turnSound == 1);
}

void MainMenus::showComputerKind(ComputerKind kind) {
    for (std::size_t i = 0; i < kComputerKinds.size(); ++i)
        computerItems_[i]->setChecked(kComputerKinds[i] == kind);
}

void MainMenus::showNamePopup(int seat, const QPoint& globalPos) {
    const auto state = model_.spectators().namePopupState(seat);
    QMenu popup(&window_);
    QAction* remove = popup.addAction(QStringLiteral("Remove From Game"));
    popup.addSeparator();
    QAction* watch = popup.addAction(QStringLiteral("Set to Just Watch"));
    QAction* unwatch = popup.addAction(QStringLiteral("Unset Just Watch"));
    remove->setEnabled(state.removeFromGame);
    watch->setEnabled(state.setToJustWatch);
    unwatch->setEnabled(state.unsetJustWatch);
    QAction* chosen = popup.exec(globalPos);
    if (chosen == remove)
        model_.spectators().kicking(state.seat);
    else if (chosen == watch)
        model_.spectators().setJustWatch(state.seat, true);
    else if (chosen == unwatch)
        model_.spectators().setJustWatch(state.seat, false);
}

} // namespace plimb
