#pragma once
// A game as one window saw it, kept as a UTF-8 text file in the folder "games" beside the tally:
//
//   # Plimb game record 1
//   # Started: 2026-12-10 19:49:18.123 UTC
//   # Seat 1: Ann
//   # Seat 2: Klot
//   # Play to score: 200
//   # Time per turn: 30
//   # Steals: 5                    ("Unlimited" for unlimited steals)
//   # Own seat: 1                  (the window's seat: 1 or 2 plays, 3 and up watch)
//   # Own name: Ann
//   0<TAB>CMD_startgame+Ann+30+200+5+
//   412<TAB>CMD_gamekey+...
//
// then one line per notice the window handled: the milliseconds since the start, a tab and the
// notice as it was read (decoded, without its terminator). The file grows line by line as the
// game goes, so a crash can leave a last line without its newline: such a line is never read
// back. A backslash, a line feed and a carriage return in a notice or a header value are written
// as \\, \n and \r, so one line is always one notice.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

inline constexpr std::string_view kRecordFirstLine = "# Plimb game record 1";
inline constexpr std::string_view kRecordsFolder = "games";
// The folder keeps the newest games within both caps.
inline constexpr std::size_t kMaxKeptRecords = 1000;
inline constexpr std::uint64_t kMaxKeptRecordBytes = 100ull * 1024 * 1024;
// One game's record stops growing here (a 200-turn game takes some 100 KB), so a host that sends
// without end cannot fill the folder through one game, and a replay stays small.
inline constexpr std::uint64_t kMaxRecordBytes = 8ull * 1024 * 1024;
// No game goes on for a year: a later time is a damaged line.
inline constexpr std::int64_t kMaxRecordMs = 366ll * 24 * 3600 * 1000;

struct RecordHeader {
    std::int64_t startedMs = 0; // since 1970, UTC
    std::array<std::string, 2> players; // seats 1 and 2
    int playTo = 0;
    int timePerTurn = 0;
    int steals = 0; // kUnlimitedSteals for unlimited
    int ownSeat = 0;
    std::string ownName;
    bool operator==(const RecordHeader&) const = default;
};

struct RecordedNotice {
    std::int64_t ms = 0; // since the start
    std::string text;
    bool operator==(const RecordedNotice&) const = default;
};

struct GameRecord {
    RecordHeader header;
    std::vector<RecordedNotice> notices;
};

std::string formatHeader(const RecordHeader& header);
// One notice's line, with its newline.
std::string formatNotice(std::int64_t ms, std::string_view notice);

// A record read back, or why the text is not one: "not a game record" for a file of something
// else, a named fault for a record that is damaged.
struct RecordRead {
    std::optional<GameRecord> record;
    std::string fault;
};
RecordRead readRecord(std::string_view text);

// "20261210-194918-123.txt": the start in UTC to the millisecond, so names sort as the games
// started. Only files named so are the program's records: the caps never remove another file.
std::string recordFileName(std::int64_t startedMs);
bool isRecordFileName(std::string_view name);
// "2026-12-10 19:49:18.123 UTC" and back.
std::string formatStarted(std::int64_t startedMs);
std::optional<std::int64_t> parseStarted(std::string_view text);

struct KeptFile {
    std::string name;
    std::uint64_t bytes = 0;
};
// The records to remove, oldest first, so that `adding` more files still keep both caps.
std::vector<std::string> recordsOverCaps(std::vector<KeptFile> kept, std::size_t adding);

// What the list of kept games shows of one.
struct RecordSummary {
    RecordHeader header;
    std::array<int, 2> scores{}; // seats 1 and 2, as the last word of each left them
    int winner = 0;              // the seat that won; 0 for a game that did not end
    int words = 0;               // words formed by both
    std::int64_t lengthMs = 0;   // from the start to the last notice
    enum class Outcome { Won, Lost, Unfinished, Watched };
    Outcome outcome() const;
    // The other player's name, or "Ann vs Bo" for a game this window watched.
    std::string opponent() const;
};
RecordSummary summarize(const GameRecord& record);

} // namespace plimb
