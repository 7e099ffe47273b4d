#include "ui/app/sidewindows.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <array>

#include "core/net/board.h"
#include "core/settings/settings.h"
#include "ui/app/datafiles.h"
#include "ui/board/tgamestart.h"
#include "ui/board/tspylist.h"
#include "ui/chat/phrasebar.h"
#include "ui/common/windowplacement.h"
#include "ui/chat/tphrases.h"
#include "ui/windows/tabout.h"
#include "ui/windows/tdownload.h"
#include "ui/windows/thelp.h"
#include "ui/windows/treplay.h"
#include "ui/windows/treplaylist.h"
#include "ui/windows/ttallylist.h"

namespace plimb {

SideWindows::SideWindows(QWidget& window, ClientModel& model, const SettingsStore& settings,
                         PhraseBar& phrases, MessageSink& messages)
    : window_(window), model_(model), settings_(settings), phrases_(phrases), messages_(messages),
      records_(QFileInfo(tallyPath()).dir().filePath(QString::fromUtf8(kRecordsFolder.data(),
                                                                       static_cast<qsizetype>(kRecordsFolder.size())))),
      tallylist_(new Ttallylist(&window)) {
    tallylist_->setRecords([this] { return records_.listing(); });
    connect(tallylist_, &Ttallylist::replayRequested, this, &SideWindows::openReplay);
    // A damaged tally file is said once; the tally then starts empty and is written back whole.
    if (const auto error = tallylist_->load(tallyPath()))
        QTimer::singleShot(0, &window,
                           [&messages, text = *error] { messages.showMessage(text.toStdString()); });
}

Tgamestart* SideWindows::gameStart() {
    if (gamestart_ == nullptr) {
        gamestart_ = new Tgamestart(&window_);
        gamestart_->setOptions(options_);
        connect(gamestart_, &Tgamestart::startRequested, this,
                [this](const QString& time, const QString& playto, const QString& steals, bool unlimited) {
                    if (startRequest_) startRequest_({playto, time, steals, unlimited});
                });
    }
    return gamestart_;
}

GameOptionTexts SideWindows::gameOptions() const {
    return gamestart_ == nullptr ? options_ : gamestart_->options();
}

void SideWindows::setGameOptions(const GameOptionTexts& options) {
    options_ = options;
    if (gamestart_ != nullptr) gamestart_->setOptions(options);
}

Tspylist* SideWindows::spyList() {
    if (spylist_ == nullptr) {
        spylist_ = new Tspylist(&window_);
        connect(spylist_, &Tspylist::kickRequested, this,
                [this](const std::string& entry) { model_.spectators().kickSpyEntry(entry); });
        render();
    }
    return spylist_;
}

Tabout* SideWindows::about() {
    if (about_ == nullptr) about_ = new Tabout(&window_);
    return about_;
}

Thelp* SideWindows::help() {
    if (help_ == nullptr) help_ = new Thelp(about(), &window_);
    return help_;
}

Tdownload* SideWindows::downloadWindow() {
    if (download_ == nullptr) {
        const auto lobby = settings_.read().get(kSettingsSection, "LobbyServer");
        download_ = new Tdownload(QString::fromStdString(lobby.value_or(Tdownload::kDefaultLobbyServer)),
                                  QFileInfo(tallyPath()).absolutePath(), &window_);
        connect(download_, &Tdownload::closeGameRequested, &window_, &QWidget::close);
    }
    return download_;
}

Tphrases* SideWindows::phraseEditor() {
    // Made when first opened: most runs never edit their phrases.
    if (phraseEditor_ == nullptr) {
        phraseEditor_ = new Tphrases(&window_);
        connect(phraseEditor_, &Tphrases::phrasesChosen, this, [this](const std::array<QString, 9>& texts) {
            for (int n = 1; n <= 9; ++n)
                phrases_.setPhrase(n, texts[static_cast<std::size_t>(n - 1)]);
            const auto stored = phrases_.phrases();
            settings_.update([&stored](IniFile& ini) { writePhrases(ini, stored); });
        });
    }
    return phraseEditor_;
}

void SideWindows::render() {
    if (spylist_ != nullptr) spylist_->render(model_.spectators().entries(), model_.me().isHost);
}

void SideWindows::showSpyList() {
    spyList()->showOver(&window_);
}

void SideWindows::showPhraseList() {
    std::array<QString, 9> texts;
    for (int n = 1; n <= 9; ++n)
        texts[static_cast<std::size_t>(n - 1)] = phrases_.phrase(n);
    phraseEditor()->openWith(texts, &window_);
}

void SideWindows::showTally() {
    tallylist_->loadchecklist(opponentNames());
    tallylist_->showOver(&window_);
}

void SideWindows::showReplayList() {
    if (replayList_ == nullptr) {
        replayList_ = new Treplaylist([this] { return records_.listing(); }, &window_);
        connect(replayList_, &Treplaylist::replayRequested, this, &SideWindows::openReplay);
    } else {
        replayList_->reload();
    }
    showWindowOver(*replayList_, &window_);
}

void SideWindows::openReplay(const QString& file) {
    std::string fault;
    auto record = records_.load(file.toStdString(), fault);
    if (!record) {
        messages_.showMessage("The game " + file.toStdString() + " cannot be replayed: " + fault + ".");
        return;
    }
    const RecordSummary summary = summarize(*record);
    const QString title = QStringLiteral("Plimb - Replay: %1, %2")
                              .arg(QString::fromStdString(summary.opponent()), startedText(summary.header.startedMs));
    auto* replay = new Treplay(std::move(*record), title, &window_);
    showWindowOver(*replay, &window_);
}

void SideWindows::saveTally() {
    tallylist_->save(tallyPath());
}

QString SideWindows::tallyPath() {
    return dataFilePath(QStringLiteral("plimbtally.tld"));
}

std::vector<std::string> SideWindows::opponentNames() const {
    std::vector<std::string> names;
    for (int seat : {1, 2}) {
        const std::string& name = model_.view().rowFor(seat).name;
        if (seat != model_.me().seat && name != kWaitingName) names.push_back(name);
    }
    return names;
}

void SideWindows::addword(const std::string& word, int value, int column) {
    tallylist_->addword(word, value, column);
}

void SideWindows::anotherword(int column) {
    tallylist_->anotherword(column);
}

void SideWindows::addgame(const std::string& winnerText) {
    tallylist_->addgame(winnerText, opponentNames());
}

int SideWindows::longestWordRecord() const {
    return tallylist_->longestWordRecord();
}

int SideWindows::bestScoreRecord() const {
    return tallylist_->bestScoreRecord();
}

} // namespace plimb
