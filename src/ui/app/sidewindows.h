#pragma once
// The main window's side windows, each made when first opened, so a game that never opens one
// never pays for it: the game options dialog (its values are kept here until then), the spy
// list, the tally list (whose tally is read at start and kept from then on), help, about, the
// lobby download, the phrase editor, and the kept games: their list and each game's replay.
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/board/tgamestart.h"
#include "ui/chat/settingsstore.h"
#include "core/client/clientmodel.h"
#include "ui/windows/recordfolder.h"
#include "core/client/clientsink.h"

class QWidget;

namespace plimb {

class PhraseBar;
class Tabout;
class Tdownload;
class Thelp;
class Tphrases;
class Tspylist;
class Treplaylist;
class Ttallylist;

class SideWindows : public QObject, public TallySink {
public:
    // The windows are children of `window`. Only keeps `model`: the model may be built after
    // these. Reads the tally file; a damaged one is said once through `messages`, after the
    // window's construction, and the tally then starts empty.
    SideWindows(QWidget& window, ClientModel& model, const SettingsStore& settings, PhraseBar& phrases,
                MessageSink& messages);

    Tgamestart* gameStart();
    Tspylist* spyList();
    Ttallylist* tallyList() const { return tallylist_; }
    // The options as the dialog shows them, or as kept for it before it is first opened.
    GameOptionTexts gameOptions() const;
    void setGameOptions(const GameOptionTexts& options);
    // The dialog's "Start Game", with the field texts as they stand.
    using StartRequest = std::function<void(const GameOptionTexts&)>;
    void setStartRequest(StartRequest request) { startRequest_ = std::move(request); }
    Tabout* about();
    Thelp* help();
    Tdownload* downloadWindow();
    Tphrases* phraseEditor();

    // The spy list shows the model's spectators as they stand.
    void render();
    // View, "Spy List", "Phrase List" and "View Tally".
    void showSpyList();
    void showPhraseList();
    void showTally();
    // File, "Replay a Game...", and one kept game in a replay window of its own.
    void showReplayList();
    void openReplay(const QString& file);
    RecordFolder& records() { return records_; }
    // Writes the tally file, as the window closes.
    void saveTally();

    // TallySink
    void addword(const std::string& word, int value, int column) override;
    void anotherword(int column) override;
    void addgame(const std::string& winnerText) override;
    int longestWordRecord() const override;
    int bestScoreRecord() const override;

private:
    // The names shown for seats 1 and 2 other than this client's own, "<Waiting>" left out.
    std::vector<std::string> opponentNames() const;
    static QString tallyPath();

    QWidget& window_;
    ClientModel& model_;
    const SettingsStore& settings_;
    PhraseBar& phrases_;
    MessageSink& messages_;
    RecordFolder records_;
    Treplaylist* replayList_ = nullptr;
    GameOptionTexts options_;
    StartRequest startRequest_;
    Tgamestart* gamestart_ = nullptr;
    Tspylist* spylist_ = nullptr;
    Ttallylist* tallylist_ = nullptr;
    Tabout* about_ = nullptr;
    Thelp* help_ = nullptr;
    Tdownload* download_ = nullptr;
    Tphrases* phraseEditor_ = nullptr;
};

} // namespace plimb
