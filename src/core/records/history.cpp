#include "core/records/history.h"

#include <algorithm>

#include "core/tally/tallygrid.h"

namespace plimb {

void RecordListing::add(const std::string& file, std::string_view text) {
    const RecordRead read = readRecord(text);
    if (read.record)
        games.push_back({file, summarize(*read.record)});
    else
        skip(file, read.fault);
}

void RecordListing::sortNewestFirst() {
    std::stable_sort(games.begin(), games.end(), [](const ListedRecord& a, const ListedRecord& b) {
        return a.summary.header.startedMs > b.summary.header.startedMs;
    });
    std::sort(skipped.begin(), skipped.end());
}

std::string scoreText(const RecordSummary& s) {
    const bool second = s.header.ownSeat == 2;
    return std::to_string(s.scores[second ? 1 : 0]) + " to " + std::to_string(s.scores[second ? 0 : 1]);
}

std::string winnerText(const RecordSummary& s) {
    return s.winner == 0 ? "Not finished" : s.header.players[static_cast<std::size_t>(s.winner - 1)];
}

std::vector<ResultPoint> resultsAgainst(const RecordListing& listing, std::string_view opponent) {
    std::vector<ResultPoint> out;
    int wins = 0, decided = 0;
    for (auto it = listing.games.rbegin(); it != listing.games.rend(); ++it) {
        const RecordSummary& s = it->summary;
        const auto outcome = s.outcome();
        if (outcome == RecordSummary::Outcome::Watched || !sameTallyName(s.opponent(), opponent)) continue;
        if (outcome != RecordSummary::Outcome::Unfinished) ++decided;
        if (outcome == RecordSummary::Outcome::Won) ++wins;
        out.push_back({&*it, outcome, wins, decided});
    }
    return out;
}

} // namespace plimb
