#include "core/tally/tallygrid.h"

#include <charconv>
#include <stdexcept>

namespace plimb {

namespace {

constexpr const char* kUserWon = "addtomine";

std::string recordText(const TallyGrid& grid, int column) {
    return grid.cell(column, 0) + " (" + grid.cell(column + 1, 0) + ")";
}

} // namespace

bool sameTallyName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

long long cellNumber(const std::string& text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return 0;
    if (text[at] == '+') ++at;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

TallyGrid::TallyGrid() : rows_(1) {
    rows_[0].fill("0");
}

const std::string& TallyGrid::cell(int column, int row) const {
    return rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void TallyGrid::setCell(int column, int row, std::string text) {
    rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = std::move(text);
}

void TallyGrid::setRowCount(int rows) {
    rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows));
}

long long TallyGrid::addit(int column, int row) {
    const long long value = cellNumber(cell(column, row)) + 1;
    setCell(column, row, std::to_string(value));
    return value;
}

void TallyGrid::moverow(int a) {
    if (a < 1 || a >= rowCount()) return;
    rows_.erase(rows_.begin() + a);
}

void Tally::loadtally(TallyGrid loaded) {
    grid_ = std::move(loaded);
    longestShown_ = !grid_.cell(4, 0).empty();
    bestShown_ = !grid_.cell(6, 0).empty();
    for (int r = 1; r < grid_.rowCount(); ++r)
        for (int c = 5; c <= 8; ++c)
            grid_.setCell(c, r, "0");
}

void Tally::addword(const std::string& word, long long value, int column) {
    if (column != 3 && column != 5) return;
    grid_.setCell(column, 0, word);
    grid_.setCell(column + 1, 0, std::to_string(value));
    (column == 3 ? longestShown_ : bestShown_) = true;
}

std::vector<int> Tally::addgame(const std::string& winner, const std::vector<std::string>& checklist) {
    addtomine(1);
    const bool userWon = winner == kUserWon;
    if (userWon) grid_.addit(2, 0);
    std::vector<int> counted;
    for (const std::string& name : checklist) {
        const std::optional<int> position = followedPosition(name);
        if (!position) continue;
        const int r = *position + 1;
        for (int c = 1; c <= 8; ++c)
            if (grid_.cell(c, r).empty()) grid_.setCell(c, r, "0");
        // Columns 1..4 count all time, 5..8 this run.
        int column = 4;
        if (grid_.cell(0, r) == winner)
            column = 2;
        else if (userWon)
            column = 3;
        for (int c : {1, column})
            for (int base : {0, 4})
                grid_.addit(c + base, r);
        counted.push_back(r);
    }
    return counted;
}

bool Tally::follow(const std::string& name) {
    if (followedPosition(name)) return false;
    const int r = grid_.rowCount();
    grid_.setRowCount(r + 1);
    grid_.setCell(0, r, name);
    for (int c = 1; c < TallyGrid::kColumns; ++c)
        grid_.setCell(c, r, "0");
    return true;
}

void Tally::stopFollowing(int position) {
    grid_.moverow(position + 1);
}

void Tally::reset() {
    grid_.setRowCount(1);
    grid_.setCell(0, 0, "");
    for (int c = 1; c < TallyGrid::kColumns; ++c)
        grid_.setCell(c, 0, "0");
    longestShown_ = false;
    bestShown_ = false;
}

std::vector<std::string> Tally::followedNames() const {
    std::vector<std::string> names;
    for (int r = 1; r < grid_.rowCount(); ++r)
        names.push_back(grid_.cell(0, r));
    return names;
}

std::optional<int> Tally::followedPosition(const std::string& name) const {
    for (int r = 1; r < grid_.rowCount(); ++r)
        if (sameTallyName(grid_.cell(0, r), name)) return r - 1;
    return std::nullopt;
}

OwnTallyLabels Tally::ownLabels() const {
    return {grid_.cell(1, 0), grid_.cell(2, 0), longestShown_ ? recordText(grid_, 3) : "None",
            bestShown_ ? recordText(grid_, 5) : "None", grid_.cell(7, 0)};
}

OpponentTallyLabels Tally::opponentLabels(int position) const {
    const int r = position + 1;
    OpponentTallyLabels labels;
    labels.hisnametop = grid_.cell(0, r) + "'s Tally";
    labels.hisname = grid_.cell(0, r) + " Wins:";
    for (int c = 1; c <= 8; ++c)
        labels.counts[static_cast<std::size_t>(c - 1)] = grid_.cell(c, r);
    return labels;
}

} // namespace plimb
