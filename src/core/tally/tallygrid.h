#pragma once
// The win tally: a grid of text cells and the operations the tally window runs on it.
//
// Row 0 holds the user's own totals:
//   0 unused ("0" at start, empty after a reset), 1 games played, 2 games won, 3 longest word,
//   4 its length, 5 best-scoring word, 6 its points, 7 words formed, 8 and 9 unused ("0").
// Row r >= 1 holds one followed opponent; row r is position r - 1 of the followed list:
//   0 name; all time: 1 games, 2 their wins, 3 the user's wins, 4 won by neither;
//   this run: 5 games, 6 their wins, 7 the user's wins, 8 won by neither; 9 unused ("0").
// Numbers are kept as decimal text; a cell that does not read as a number counts as 0.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

class TallyGrid {
public:
    static constexpr int kColumns = 10;

    // One row of "0" cells.
    TallyGrid();

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Column 0..9 and row 0..rowCount()-1; anything else throws std::out_of_range.
    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, std::string text);
    // At least one row is kept; added rows have empty cells.
    void setRowCount(int rows);

    // Adds one to the number in a cell and returns the new value.
    long long addit(int column, int row);
    // Removes row a, moving the rows below it up; row 0 is never removed.
    void moverow(int a);

private:
    std::vector<std::array<std::string, kColumns>> rows_;
};

// The number a cell holds, 0 when it holds none.
long long cellNumber(const std::string& text);
// Whether two names are one opponent: the tally looks names up without regard to the case of
// A to Z.
bool sameTallyName(std::string_view a, std::string_view b);

// Texts of the "Your Total Tally" labels.
struct OwnTallyLabels {
    std::string totalGames;  // mylabel_1
    std::string yourWins;    // mylabel_2
    std::string longestWord; // mylabel_3: word (length), or "None"
    std::string bestScoring; // mylabel_5: word (points), or "None"
    std::string totalWords;  // mylabel_7
};

// Texts of the selected opponent's labels.
struct OpponentTallyLabels {
    std::string hisnametop;            // name + "'s Tally"
    std::string hisname;               // name + " Wins:"
    std::array<std::string, 8> counts; // label_1 .. label_8 (columns 1..8)
};

class Tally {
public:
    const TallyGrid& grid() const { return grid_; }

    // Takes a grid read from the tally file: the own labels show its totals and records, every
    // opponent row is followed, and the figures of this run start again at 0.
    void loadtally(TallyGrid loaded);

    // A new record (column 3: longest word, value its length; column 5: best-scoring word, value
    // its points). The caller has checked that it beats the record; other columns are ignored.
    void addword(const std::string& word, long long value, int column);
    // One more word formed (column 7) or game played (column 1).
    void anotherword(int column) { grid_.addit(column, 0); }
    void addtomine(int column) { grid_.addit(column, 0); }

    // Counts a finished game. `winner` is "addtomine" when the user won, else the winner's name;
    // `checklist` the names of the current opponents. Every followed one is counted (names match
    // in any letter case; the winner's name must match exactly). Returns the rows counted.
    std::vector<int> addgame(const std::string& winner, const std::vector<std::string>& checklist);

    // Starts following `name` unless it is followed already; returns whether it was added.
    bool follow(const std::string& name);
    // Stops following the opponent at list position `position`.
    void stopFollowing(int position);
    // Empties the tally: own totals 0, no records, nobody followed.
    void reset();

    long long longestWordRecord() const { return cellNumber(grid_.cell(4, 0)); }
    long long bestScoreRecord() const { return cellNumber(grid_.cell(6, 0)); }

    std::vector<std::string> followedNames() const;
    // List position of a followed name, compared without regard to letter case.
    std::optional<int> followedPosition(const std::string& name) const;

    OwnTallyLabels ownLabels() const;
    OpponentTallyLabels opponentLabels(int position) const;

private:
    TallyGrid grid_;
    // Whether the record labels show a record or still "None"; a loaded tally shows whatever
    // its cells hold, "0 (0)" included.
    bool longestShown_ = false;
    bool bestShown_ = false;
};

} // namespace plimb
