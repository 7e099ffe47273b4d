#pragma once
// Ttallylist: the win tally window. The counting lives in Tally (Qt-free); this window shows it,
// lets the user follow opponents, stop following them and reset the tally, and reads and writes
// the tally file.
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/records/history.h"
#include "core/tally/tallygrid.h"

class QLabel;
class QListWidgetItem;
class QPersistentModelIndex;
class QPushButton;

namespace plimb {

class OpponentGames;
class TickList;

class Ttallylist : public QWidget {
    Q_OBJECT
public:
    // Asks a Yes/No question; true means Yes. Tests answer in place of the user.
    using Question = std::function<bool(const QString& text)>;

    explicit Ttallylist(QWidget* parent = nullptr);
    void setQuestion(Question ask) { ask_ = std::move(ask); }
    // Where the window reads the kept games for the chart and the list of games against the
    // opponent picked; set before the window is first shown. Without it they are not shown.
    void setRecords(std::function<RecordListing()> source);
    OpponentGames* opponentGames() const { return history_; }

    // A new record: column 3 the longest word (value: its length), column 5 the best-scoring word
    // (value: its points). The caller compares against the records first.
    void addword(const std::string& word, int value, int column);
    // One more word formed (column 7).
    void anotherword(int column);
    int longestWordRecord() const;
    int bestScoreRecord() const;

    // The current opponents: the names shown for seats 1 and 2 other than the user's own seat,
    // without "<Waiting>". Each is ticked when it is followed already.
    void loadchecklist(const std::vector<std::string>& opponentNames);
    // A finished game the user played: `winnerText` is "addtomine" when the user won, else the
    // winner's name. Counts it against the opponents of the last loadchecklist (the second form
    // loads them first), then writes the tally file named by the last load(), so a crash later in
    // the run loses nothing already counted.
    void addgame(const std::string& winnerText);
    void addgame(const std::string& winnerText, const std::vector<std::string>& opponentNames);

    void showOver(QWidget* mainWindow);

    // What a tally file that could not be read is renamed to when it is first written over.
    static constexpr char kDamagedSuffix[] = ".damaged";

    // Reads the tally file once at start and remembers its path for later writes. No file: the
    // empty tally, no error. A damaged file (or one that cannot be read, is not a regular file or
    // is far too large to be a tally): the empty tally and the error text, for the caller to show
    // once. Only a regular file is opened, so a FIFO in its place cannot block the program.
    std::optional<QString> load(const QString& filePath);
    // Writes the tally file through a temporary file in the same folder and a rename. The first
    // write over the file that load() found damaged renames that file to its name plus
    // kDamagedSuffix first (replacing an older one); if it cannot be moved aside, nothing is
    // written. Returns whether the tally was written; callers may ignore a failure (the old file
    // then stays as it was).
    bool save(const QString& filePath);

    const Tally& tally() const { return tally_; }

signals:
    // A game of the list against the opponent was opened.
    void replayRequested(const QString& file);

protected:
    // The window's widgets are made when it is first shown: most runs never open it.
    void setVisible(bool visible) override;

private:
    void build();
    bool built() const { return mylabel_1 != nullptr; }
    void fillCurrent();
    void checklistClickCheck(QListWidgetItem* item);
    void listbox_tallyClickCheck(QListWidgetItem* item);
    void askToStopFollowing(const QPersistentModelIndex& index);
    void listbox_tallyClick();
    void FlatButton2Click();
    void showOwnTotals();
    void fillFollowed();

    Tally tally_;
    std::vector<std::string> current_; // the opponents of the last loadchecklist
    QString filePath_;
    bool damaged_ = false; // the file at filePath_ was there but unreadable, and is not moved aside yet
    Question ask_;
    std::function<RecordListing()> records_;
    OpponentGames* history_ = nullptr;

    QLabel* mylabel_1 = nullptr;
    QLabel* mylabel_2 = nullptr;
    QLabel* mylabel_3 = nullptr;
    QLabel* mylabel_5 = nullptr;
    QLabel* mylabel_7 = nullptr;
    QLabel* label_hisnametop = nullptr;
    QLabel* label_hisname = nullptr;
    std::array<QLabel*, 8> label_ = {}; // label_1 .. label_8
    TickList* listbox_tally = nullptr;
    TickList* checklist = nullptr;
    QPushButton* FlatButton1 = nullptr; // "Ok"
    QPushButton* FlatButton2 = nullptr; // "Reset Tally"
};

} // namespace plimb
