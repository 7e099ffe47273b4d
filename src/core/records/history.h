#pragma once
// The kept games as lists: every game of the folder for File, "Replay a Game...", and one
// opponent's games over time for the tally window's chart.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/gamerecord.h"

namespace plimb {

struct ListedRecord {
    std::string file;
    RecordSummary summary;
};

struct RecordListing {
    std::vector<ListedRecord> games; // newest first
    // Files of the folder that are not readable records, each as "name: why".
    std::vector<std::string> skipped;

    // One file of the folder, as its text was read: listed when it is a record, else skipped.
    void add(const std::string& file, std::string_view text);
    // One that could not be read at all.
    void skip(const std::string& file, const std::string& why) { skipped.push_back(file + ": " + why); }
    void sortNewestFirst();
};

// "120 to 95": the window's own score first; a watched game's seat 1 first.
std::string scoreText(const RecordSummary& s);
// The winner's name, or "Not finished".
std::string winnerText(const RecordSummary& s);

// One game against an opponent, oldest first, with the share of the games decided so far that
// the player won.
struct ResultPoint {
    const ListedRecord* game;
    RecordSummary::Outcome outcome;
    int wins, decided; // up to and including this game
    double share() const { return decided == 0 ? 0.0 : static_cast<double>(wins) / decided; }
};
// The games this window played against `opponent` (names matched without regard to letter case,
// as the tally follows opponents).
std::vector<ResultPoint> resultsAgainst(const RecordListing& listing, std::string_view opponent);

} // namespace plimb
