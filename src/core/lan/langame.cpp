#include "core/lan/langame.h"

#include <algorithm>
#include <cctype>

#include "core/chat/receivedtext.h"
#include "core/net/protocol.h"
#include "core/rules/gamestate.h"

namespace plimb {
namespace {

constexpr std::string_view kRunning = "running";
constexpr std::string_view kWaiting = "waiting";
constexpr std::string_view kMdnsDomain = ".local";
// Seats 1 and 2 play; the seats after them watch.
constexpr int kPlayerSeats = 2;
// Version texts are short; a longer value would only stretch the list.
constexpr std::size_t kMaxVersionBytes = 32;

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && lowerAscii(text.substr(text.size() - tail.size())) == tail;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Seats are a small decimal number; signs, blanks, leading "+" and anything past the table's
// seats are not a seat count.
std::optional<int> readSeats(std::string_view value) {
    if (value.empty() || value.size() > 3) return std::nullopt;
    int seats = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        seats = seats * 10 + (c - '0');
    }
    if (seats < 1 || seats > kMaxSeats) return std::nullopt;
    return seats;
}

std::optional<bool> readGame(std::string_view value) {
    const std::string lower = lowerAscii(value);
    if (lower == kRunning) return true;
    if (lower == kWaiting) return false;
    return std::nullopt;
}

} // namespace

std::vector<std::string> buildLanTxt(std::string_view version, int seatsTaken, bool running) {
    return {std::string(kLanTxtVersion) + "=" + std::string(version),
            std::string(kLanTxtSeats) + "=" + std::to_string(seatsTaken),
            std::string(kLanTxtGame) + "=" + std::string(running ? kRunning : kWaiting)};
}

LanTxt parseLanTxt(const std::vector<std::string>& entries) {
    LanTxt txt;
    std::vector<std::string> seen;
    for (const std::string& entry : entries) {
        const auto equals = entry.find('=');
        const std::string key = lowerAscii(std::string_view(entry).substr(0, equals));
        if (key.empty() || std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
        seen.push_back(key);
        // A key without "=" is an attribute without a value: for these keys, nothing was said.
        if (equals == std::string::npos) continue;
        const std::string_view value = std::string_view(entry).substr(equals + 1);
        if (key == kLanTxtVersion)
            txt.version = std::string(utf8Prefix(receivedText(value), kMaxVersionBytes));
        else if (key == kLanTxtSeats)
            txt.seatsTaken = readSeats(value);
        else if (key == kLanTxtGame)
            txt.running = readGame(value);
    }
    return txt;
}

std::string lanInstanceName(std::string_view player) {
    const std::string safe = receivedText(player);
    const std::string_view name = trimBlanks(utf8Prefix(trimBlanks(safe), kLanMaxInstanceBytes));
    return name.empty() ? std::string("Plimb") : std::string(name);
}

LanGame lanGame(std::string key, const LanAnnouncement& announcement) {
    LanGame game;
    game.key = std::move(key);
    game.hostPlayer = receivedText(announcement.instance);
    std::string_view host = announcement.hostName;
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    if (endsWithNoCase(host, kMdnsDomain) && host.size() > kMdnsDomain.size())
        host.remove_suffix(kMdnsDomain.size());
    game.computer = receivedText(host);
    game.address = receivedText(announcement.address);
    game.port = announcement.port;
    LanTxt txt = parseLanTxt(announcement.txt);
    game.version = std::move(txt.version);
    game.seatsTaken = txt.seatsTaken;
    game.running = txt.running;
    return game;
}

std::optional<LanGame> preferredLanGame(const std::vector<LanGame>& reached) {
    const LanGame* best = nullptr;
    for (const LanGame& game : reached) {
        // A link-local address needs the name of this computer's interface after a "%", which no
        // typed address or invitation can carry: a game reached only so is not listed.
        if (game.port != kGamePort || game.address.find('%') != std::string::npos) continue;
        const bool ipv4 = game.address.find(':') == std::string::npos;
        if (best == nullptr || (ipv4 && best->address.find(':') != std::string::npos)) best = &game;
    }
    if (best == nullptr) return std::nullopt;
    return *best;
}

LanRow lanRow(const LanGame& game) {
    LanRow row{game.hostPlayer, game.computer, game.address, {}, {}};
    if (game.seatsTaken) {
        const int playing = std::min(*game.seatsTaken, kPlayerSeats);
        const int watching = *game.seatsTaken - playing;
        row.players = std::to_string(playing) + " of " + std::to_string(kPlayerSeats);
        if (watching > 0) row.players += ", " + std::to_string(watching) + " watching";
    }
    if (game.running) row.game = *game.running ? "running" : "waiting for players";
    // The host refuses a copy of another version, so the player should see it before joining.
    if (!game.version.empty() && game.version != kVersion)
        row.game += (row.game.empty() ? "" : ", ") + std::string("version ") + game.version;
    return row;
}

} // namespace plimb
