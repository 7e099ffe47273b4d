#include "core/records/gamerecord.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "core/net/board.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"

namespace plimb {

namespace {

constexpr std::string_view kStarted = "Started";
constexpr std::string_view kSeat1 = "Seat 1";
constexpr std::string_view kSeat2 = "Seat 2";
constexpr std::string_view kPlayTo = "Play to score";
constexpr std::string_view kTimePerTurn = "Time per turn";
constexpr std::string_view kSteals = "Steals";
constexpr std::string_view kOwnSeat = "Own seat";
constexpr std::string_view kOwnName = "Own name";
constexpr std::string_view kUnlimited = "Unlimited";
constexpr std::string_view kNotARecord = "not a game record";

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// A backslash before anything but the three escapes is kept as it stands.
std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == '\\' || next == 'n' || next == 'r')) {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::int64_t> parseCount(std::string_view text) {
    std::int64_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

std::string field(std::string_view key, std::string_view value) {
    return "# " + std::string(key) + ": " + escaped(value) + "\n";
}

} // namespace

std::string formatStarted(std::int64_t startedMs) {
    using namespace std::chrono;
    const sys_time<milliseconds> at{milliseconds(startedMs)};
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss time{at - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d.%03d UTC", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

std::optional<std::int64_t> parseStarted(std::string_view text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0, used = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d UTC%n", &y, &mo, &d, &h, &mi, &s, &ms, &used) != 7 ||
        used != static_cast<int>(copy.size()))
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{year(y), month(static_cast<unsigned>(mo)), day(static_cast<unsigned>(d))};
    if (!date.ok() || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0 || ms < 0) return std::nullopt;
    const auto at = sys_days(date) + hours(h) + minutes(mi) + seconds(s) + milliseconds(ms);
    return at.time_since_epoch().count();
}

std::string recordFileName(std::int64_t startedMs) {
    // "2026-12-10 19:49:18.123 UTC" -> "20261210-194918-123.txt"
    const std::string t = formatStarted(startedMs);
    return t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2) + "-" + t.substr(11, 2) + t.substr(14, 2) +
           t.substr(17, 2) + "-" + t.substr(20, 3) + ".txt";
}

bool isRecordFileName(std::string_view name) {
    constexpr std::string_view shape = "00000000-000000-000.txt";
    if (name.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (shape[i] == '0' ? !digit : name[i] != shape[i]) return false;
    }
    return true;
}

std::string formatHeader(const RecordHeader& h) {
    std::string out(kRecordFirstLine);
    out += "\n";
    out += field(kStarted, formatStarted(h.startedMs));
    out += field(kSeat1, h.players[0]);
    out += field(kSeat2, h.players[1]);
    out += field(kPlayTo, std::to_string(h.playTo));
    out += field(kTimePerTurn, std::to_string(h.timePerTurn));
    out += field(kSteals, h.steals == kUnlimitedSteals ? std::string(kUnlimited) : std::to_string(h.steals));
    out += field(kOwnSeat, std::to_string(h.ownSeat));
    out += field(kOwnName, h.ownName);
    return out;
}

std::string formatNotice(std::int64_t ms, std::string_view notice) {
    return std::to_string(ms) + "\t" + escaped(notice) + "\n";
}

RecordRead readRecord(std::string_view text) {
    const auto damaged = [](std::string why) { return RecordRead{std::nullopt, "damaged: " + why}; };
    // Only whole lines count: a last line without its newline was being written when the window
    // stopped.
    const std::size_t whole = text.rfind('\n');
    if (whole == std::string_view::npos) return {std::nullopt, std::string(kNotARecord)};
    text = text.substr(0, whole + 1);

    GameRecord record;
    std::optional<std::int64_t> started, seat;
    std::optional<std::string> players[2];
    std::size_t lineNumber = 0;
    bool inHeader = true;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1) {
            if (line != kRecordFirstLine) return {std::nullopt, std::string(kNotARecord)};
            continue;
        }
        if (inHeader && line.starts_with("# ")) {
            const std::size_t colon = line.find(": ");
            if (colon == std::string_view::npos) continue; // a comment of a later version
            const std::string_view key = line.substr(2, colon - 2);
            const std::string value = unescaped(line.substr(colon + 2));
            const auto number = [&]() -> std::optional<int> {
                const auto n = parseCount(value);
                return n && *n <= 1000000 ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
            };
            std::optional<int> n;
            if (key == kStarted) {
                started = parseStarted(value);
                if (!started) return damaged("its start time is unreadable");
            } else if (key == kSeat1) {
                players[0] = value;
            } else if (key == kSeat2) {
                players[1] = value;
            } else if (key == kOwnName) {
                record.header.ownName = value;
            } else if (key == kSteals && value == kUnlimited) {
                record.header.steals = kUnlimitedSteals;
            } else if (key == kPlayTo || key == kTimePerTurn || key == kSteals || key == kOwnSeat) {
                if (!(n = number())) return damaged("its " + std::string(key) + " is not a number");
                (key == kPlayTo        ? record.header.playTo
                 : key == kTimePerTurn ? record.header.timePerTurn
                 : key == kSteals      ? record.header.steals
                                       : record.header.ownSeat) = *n;
                if (key == kOwnSeat) seat = *n;
            }
            continue;
        }
        inHeader = false;
        const std::size_t tab = line.find('\t');
        const auto ms = tab == std::string_view::npos ? std::nullopt : parseCount(line.substr(0, tab));
        if (!ms || *ms > kMaxRecordMs) return damaged("line " + std::to_string(lineNumber) + " is not a notice");
        record.notices.push_back({*ms, unescaped(line.substr(tab + 1))});
    }
    if (!started || !players[0] || !players[1] || !seat || !isSeat(*seat))
        return damaged("its header does not name the start, both seats and its own seat");
    record.header.startedMs = *started;
    record.header.players = {*players[0], *players[1]};
    return {std::move(record), {}};
}

std::vector<std::string> recordsOverCaps(std::vector<KeptFile> kept, std::size_t adding) {
    std::sort(kept.begin(), kept.end(), [](const KeptFile& a, const KeptFile& b) { return a.name < b.name; });
    std::uint64_t bytes = 0;
    for (const KeptFile& f : kept)
        bytes += f.bytes;
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const std::size_t left = kept.size() - i;
        if (left + adding <= kMaxKeptRecords && bytes <= kMaxKeptRecordBytes) break;
        out.push_back(kept[i].name);
        bytes -= kept[i].bytes;
    }
    return out;
}

RecordSummary summarize(const GameRecord& record) {
    RecordSummary s;
    s.header = record.header;
    for (const RecordedNotice& n : record.notices) {
        s.lengthMs = std::max(s.lengthMs, n.ms);
        const Message m = splitMessage(n.text);
        if (m.name == msg::formedword) {
            if (const auto w = read::formedword(m.data); w && isPlayerSeat(w->seat)) {
                s.scores[static_cast<std::size_t>(w->seat - 1)] = w->score;
                ++s.words;
            }
        } else if (m.name == msg::winner && s.winner == 0) {
            if (const auto won = read::seat(m.data); won && isPlayerSeat(*won)) s.winner = *won;
        }
    }
    return s;
}

RecordSummary::Outcome RecordSummary::outcome() const {
    if (!isPlayerSeat(header.ownSeat)) return Outcome::Watched;
    if (winner == 0) return Outcome::Unfinished;
    return winner == header.ownSeat ? Outcome::Won : Outcome::Lost;
}

std::string RecordSummary::opponent() const {
    if (header.ownSeat == 1) return header.players[1];
    if (header.ownSeat == 2) return header.players[0];
    return header.players[0] + " vs " + header.players[1];
}

} // namespace plimb
