#pragma once
// Games on the local network, as a hosting copy announces them through DNS-SD and a joining copy
// lists them. This is the part that decides: what the announcement carries, how an announcement
// that came from the network is read, and what the Join dialog shows of it. The shell does the
// talking to the system's mDNS daemon.
//
// A hosting copy announces one service of type _plimb._tcp on the game port. Its instance name
// is the hosting player's name. Its TXT record holds three keys:
//   version=<the program's version text, e.g. 1.0.5>
//   seats=<the seats taken, the host's own included: 1..kMaxSeats, in decimal>
//   game=running | game=waiting   (a game is under way, or the table waits for its players)
// A reader takes the first entry of each key (keys in any case, as DNS-SD has it), ignores
// entries it does not know, and treats a value it cannot read as not announced.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

inline constexpr std::string_view kLanServiceType = "_plimb._tcp";
inline constexpr std::string_view kLanTxtVersion = "version";
inline constexpr std::string_view kLanTxtSeats = "seats";
inline constexpr std::string_view kLanTxtGame = "game";
// A DNS label, and so an instance name, holds at most 63 bytes.
inline constexpr std::size_t kLanMaxInstanceBytes = 63;

// What the TXT record of one game says; a key that was missing or unreadable stays empty.
struct LanTxt {
    std::string version;
    std::optional<int> seatsTaken;
    std::optional<bool> running;
};

// The TXT entries ("key=value", in the order above) for a game with these facts.
std::vector<std::string> buildLanTxt(std::string_view version, int seatsTaken, bool running);
// Reads TXT entries as they arrived (any bytes). Text values are made safe to show.
LanTxt parseLanTxt(const std::vector<std::string>& entries);

// The instance name under which a player's game is announced: the name without the blanks at
// its ends, cut to what a DNS label holds without splitting a character; "Plimb" for a name that
// leaves nothing.
std::string lanInstanceName(std::string_view player);

// What the mDNS daemon resolved for one announcement, as the bytes came off the network.
struct LanAnnouncement {
    std::string instance; // the service's instance name
    std::string hostName; // the computer's mDNS host name, e.g. "kitchen.local"
    std::string address;  // as printed for the joining copy to connect to
    int port = 0;
    std::vector<std::string> txt;
};

// One game on the network as the joining side knows it; every text is safe to show.
struct LanGame {
    std::string key;        // tells the games apart; stays the same while the game is announced
    std::string hostPlayer; // the instance name
    std::string computer;   // the host name without the ".local" of the mDNS domain
    std::string address;
    int port = 0;
    std::string version;
    std::optional<int> seatsTaken;
    std::optional<bool> running;

    bool operator==(const LanGame&) const = default;
};

LanGame lanGame(std::string key, const LanAnnouncement& announcement);

// The game to list among the ways one announcement was reached (one per network interface and
// address family): only games on the game port, at an address that needs no interface named after
// a "%", can be joined, and an IPv4 address is preferred,
// being the one every player can type. Nullopt when none of them can be joined.
std::optional<LanGame> preferredLanGame(const std::vector<LanGame>& reached);

// The columns of the Join dialog's list of games. `players` counts the two playing seats taken
// ("1 of 2") and the spectators after them ("2 of 2, 3 watching").
struct LanRow {
    std::string hostPlayer, computer, address, players, game;
};
LanRow lanRow(const LanGame& game);

} // namespace plimb
