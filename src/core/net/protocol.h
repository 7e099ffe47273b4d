#pragma once
// The message catalogue: the one place that names every message and builds its layout.
//
// A message is text ended by the byte 0xFF (see framer.h). Its name is the text before the
// first "+", its data everything after it; fields in the data are joined by "+". Numbers are
// plain decimal. Where a name or free text is the last field it is read as "the rest", so a
// "+" inside it survives. Layouts (terminator not shown):
//
// Requests, client to server                       Notices, server to client(s)
//   CMD_logininfo+seat+version+name<FF>              CMD_sendlogininfo+seat
//   CMD_chat+seat+text|colour                        CMD_full+
//   CMD_action+seat+text|colour                      CMD_newplayerinfo+seat+name
//   CMD_startgame+name+time+playto+steals+           CMD_existingplayers+seat+name
//   CMD_placemyletter+p+hand+board+                  CMD_havewrongversion+name
//   CMD_tradingmyletter+p+a+b+                       CMD_wrongversion+
//   CMD_stealinghisletter+p+hisslot+myslot+          CMD_playerdisconnected+seat+name
//   CMD_discardletter+p+board+                       CMD_chat+name chats: text|colour
//   CMD_discardextra+p+hand+                         CMD_action+name text|colour
//   CMD_justwatch+p+flag                             CMD_playasound+p+waveN+
//   CMD_kickhim+requester+seat+                      CMD_justwatching+p+flag
//   CMD_playasound+p+waveN+                          CMD_startgame+name+time+playto+steals+
//                                                    CMD_letters+seat{+slot+code}
//                                                    CMD_placetheletters{+p+slot+code}
//                                                    CMD_gamestats+time+playto+steals+s1+s2+
//                                                    CMD_nextplayer+p+stealsleft+
//                                                    CMD_newletter+p+slot+code+
//                                                    CMD_placemyletter+p+hand+board+code+
//                                                    CMD_tradingmyletter+p+a+codeA+b+codeB+
//                                                    CMD_stoldletter+p+opp+myslot+hisslot+code+
//                                                    CMD_discardletter+p+board+
//                                                    CMD_discardextra+p+hand+
//                                                    CMD_notvalid+p+   CMD_toomany+p+
//                                                    CMD_formedword+p+word+points+score+
//                                                    CMD_timeup+       CMD_winner+p+
//                                                    CMD_removedfromgame+
//                                                    CMD_gamekey+key+
//   CMD_reclaimseat+seat+secret+                     CMD_seatkey+secret+
//                                                    CMD_tablestate+key+1+turn+p+seconds+clock+
//                                                      steals1+steals2+watch1+watch2{+word+points}+
//                                                    CMD_tablestate+key+0+winner+score1+score2+
// flag: "1" = just watch, "2" = play again. Steals 10000 means unlimited.
// CMD_removedfromgame is this program's own: the host sends it to a connection it removes, just
// before the close, so that player is told and does not try to rejoin. A peer that does not know
// the name drops it, as every client drops unknown names.
// CMD_seatkey and CMD_reclaimseat are this program's own as well: the host hands the player of
// seat 2 a secret at its login, and keeps that seat for a while when its connection drops; the
// player's new connection shows the secret, before its login, to be moved back into the seat.
// CMD_gamekey and CMD_tablestate are this program's own too. The host names each game with a key
// of its own (CMD_gamekey, to all right after CMD_startgame), and ends every login with the state
// of the table that the other notices of a newcomer leave out: whose turn it is, the clock, the
// steals left, who only watches and the newcomer's own words, or how the last game ended. A window
// that comes back after a cut is shown exactly what it showed, and can tell the game it left from
// a new one.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plimb {

inline constexpr char kTerminator = '\xFF';
// The version text sent at login and compared by the server.
inline constexpr std::string_view kVersion = "1.0.5";
// The name of a solo player, who has not given one.
inline constexpr std::string_view kSoloName = "You";
inline constexpr int kUnlimitedSteals = 10000;
inline constexpr int kGamePort = 7772;

// Every peer closes a connection on a message longer than the framer's cap (64 KiB), the host's
// own client included, so no notice the server builds may come near it. What a peer puts into a
// notice is held to these sizes: a name (longer ones are cut), and the text of a chat or action
// line with its "|colour" (longer ones are not relayed). A notice then stays far under the cap.
inline constexpr std::size_t kMaxNameBytes = 256;
inline constexpr std::size_t kMaxChatBytes = 16 * 1024;
// The chatter sounds "wave1" to "wave20", the only sounds a player asks the others to hear.
inline constexpr int kChatterSounds = 20;
// n for a chatter sound's name "waveN" (the letters in any case; N in 1..20 without leading
// zeros); nullopt for any other text.
std::optional<int> chatterNumber(std::string_view soundName);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end inside a UTF-8
// character.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

namespace msg {
inline constexpr std::string_view logininfo = "CMD_logininfo";
inline constexpr std::string_view kickhim = "CMD_kickhim";
inline constexpr std::string_view chat = "CMD_chat";
inline constexpr std::string_view action = "CMD_action";
inline constexpr std::string_view justwatch = "CMD_justwatch";
inline constexpr std::string_view startgame = "CMD_startgame";
inline constexpr std::string_view placemyletter = "CMD_placemyletter";
inline constexpr std::string_view discardextra = "CMD_discardextra";
inline constexpr std::string_view tradingmyletter = "CMD_tradingmyletter";
inline constexpr std::string_view stealinghisletter = "CMD_stealinghisletter";
inline constexpr std::string_view discardletter = "CMD_discardletter";
inline constexpr std::string_view playasound = "CMD_playasound";

inline constexpr std::string_view sendlogininfo = "CMD_sendlogininfo";
inline constexpr std::string_view full = "CMD_full";
inline constexpr std::string_view newplayerinfo = "CMD_newplayerinfo";
inline constexpr std::string_view existingplayers = "CMD_existingplayers";
inline constexpr std::string_view havewrongversion = "CMD_havewrongversion";
inline constexpr std::string_view wrongversion = "CMD_wrongversion";
inline constexpr std::string_view playerdisconnected = "CMD_playerdisconnected";
inline constexpr std::string_view justwatching = "CMD_justwatching";
inline constexpr std::string_view letters = "CMD_letters";
inline constexpr std::string_view placetheletters = "CMD_placetheletters";
inline constexpr std::string_view gamestats = "CMD_gamestats";
inline constexpr std::string_view nextplayer = "CMD_nextplayer";
inline constexpr std::string_view newletter = "CMD_newletter";
inline constexpr std::string_view stoldletter = "CMD_stoldletter";
inline constexpr std::string_view notvalid = "CMD_notvalid";
inline constexpr std::string_view toomany = "CMD_toomany";
inline constexpr std::string_view formedword = "CMD_formedword";
inline constexpr std::string_view timeup = "CMD_timeup";
inline constexpr std::string_view winner = "CMD_winner";
inline constexpr std::string_view removedfromgame = "CMD_removedfromgame";
inline constexpr std::string_view gamekey = "CMD_gamekey";
inline constexpr std::string_view tablestate = "CMD_tablestate";
inline constexpr std::string_view seatkey = "CMD_seatkey";
inline constexpr std::string_view reclaimseat = "CMD_reclaimseat";
} // namespace msg

// A message split into its name and data. A text without "+" has an empty name.
struct Message {
    std::string_view name;
    std::string_view data;
};
Message splitMessage(std::string_view text);

// Strict decimal conversion: an optional "-" and one or more digits, nothing else, within int32.
std::optional<int> parseInt(std::string_view text);

// Reads the "+"-separated fields of a message's data from the left.
class FieldReader {
public:
    explicit FieldReader(std::string_view data) : rest_(data) {}
    // The next field, up to the next "+" (or the end).
    std::string_view text();
    // The next field as a strict decimal number; nullopt when it is missing or malformed.
    std::optional<int> number();
    // Everything not read yet (a trailing name or free text).
    std::string_view rest() const { return rest_; }
    bool atEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
    bool exhausted_ = false;
};

// Reads the next N fields as strict decimal numbers; nullopt when any of them is missing or
// malformed. The reader overload leaves `reader` after the fields it took, so a trailing name or
// text can be read next.
template <std::size_t N> std::optional<std::array<int, N>> numbers(FieldReader& reader) {
    std::array<int, N> out{};
    for (auto& value : out) {
        const auto n = reader.number();
        if (!n) return std::nullopt;
        value = *n;
    }
    return out;
}

template <std::size_t N> std::optional<std::array<int, N>> numbers(std::string_view data) {
    FieldReader reader(data);
    return numbers<N>(reader);
}

// Builders: each returns the message text without its terminator. Requests end in "Request";
// a notice has the message's own name. Their readers are in readers.h.
namespace build {
// requests
std::string logininfoRequest(int seat, std::string_view version, std::string_view loginName);
std::string chatRequest(int seat, std::string_view chatText);
std::string actionRequest(int seat, std::string_view chatText);
std::string startgame(std::string_view name, std::string_view time, std::string_view playto,
                      std::string_view steals);
std::string placemyletterRequest(int player, int hand, int board);
std::string tradingmyletterRequest(int player, int a, int b);
std::string stealinghisletterRequest(int player, int hisSlot, int mySlot);
std::string discardletterRequest(int player, int board);
std::string discardextraRequest(int player, int hand);
std::string justwatchRequest(int player, int flag);
std::string kickhimRequest(int requester, int seat);
std::string playasoundRequest(int player, int wave);
std::string reclaimseatRequest(int seat, std::string_view secret);

// notices
std::string sendlogininfo(int seat);
std::string full();
std::string newplayerinfo(int seat, std::string_view name);
std::string existingplayers(int seat, std::string_view name);
std::string havewrongversion(std::string_view name);
std::string wrongversion();
std::string playerdisconnected(int seat, std::string_view name);
std::string chat(std::string_view name, std::string_view rest);
std::string action(std::string_view name, std::string_view rest);
std::string playasound(std::string_view player, std::string_view rest);
std::string justwatching(int player, int flag);
std::string letters(int seat, const std::vector<std::pair<int, int>>& slotCodes);
struct BoardLetter {
    int player, slot, code;
};
std::string placetheletters(const std::vector<BoardLetter>& letters);
std::string gamestats(int time, int playto, int steals, int score1, int score2);
std::string nextplayer(int player, int stealsLeft);
std::string newletter(int player, int slot, int code);
std::string placemyletter(int player, int hand, int board, int code);
std::string tradingmyletter(int player, int a, int codeA, int b, int codeB);
std::string stoldletter(int player, int opponent, int mySlot, int hisSlot, int code);
std::string discardletter(int player, int board);
std::string discardextra(int player, int hand);
std::string notvalid(int player);
std::string toomany(int player);
std::string formedword(int player, std::string_view word, int points, int score);
std::string timeup();
std::string winner(int player);
std::string removedfromgame();
std::string gamekey(std::string_view key);
std::string seatkey(std::string_view secret);
} // namespace build

// A seat's secret: kSeatSecretChars lower-case hexadecimal digits; nullopt for anything else.
inline constexpr std::size_t kSeatSecretChars = 32;
std::optional<std::string> parseSeatSecret(std::string_view text);

// What CMD_tablestate tells a newcomer. Flags travel as 1 (yes) and 0 (no).
struct TableState {
    std::string key; // the game's key; a host that has played no game yet still has one
    bool running = false;
    // While a game runs:
    int turn = 0;        // turns begun in this game, the current one included
    int current = 0;     // whose turn it is, 1 or 2
    int secondsLeft = 0; // what the turn clock shows
    bool clockRunning = false;
    std::array<int, 3> stealsLeft{};                // [1], [2], as CMD_nextplayer counts them
    std::array<bool, 3> watching{};                 // [1], [2]
    std::vector<std::pair<std::string, int>> words; // the newcomer's own, as scored, with points
    // Between games:
    int winner = 0;             // the last game's winner, 0 when none was played
    std::array<int, 3> score{}; // [1], [2]
    bool operator==(const TableState&) const = default;
};
// A newcomer is sent at most this many of its latest words: so many that no game of words to a
// sane target has more, few enough (some 18 bytes each) that the notice stays far under the cap.
inline constexpr std::size_t kMaxWordsShown = 2000;
std::string buildTablestate(const TableState& state);
// The key of CMD_gamekey: digits and dots, at most 40 bytes; nullopt for anything else.
std::optional<std::string> parseGamekey(std::string_view data);
// nullopt when a field is missing or malformed, a seat or flag is out of range, or a word is
// not a board's word (1 to 10 letters a to z).
std::optional<TableState> parseTablestate(std::string_view data);

} // namespace plimb
