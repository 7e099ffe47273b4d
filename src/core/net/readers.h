#pragma once
// One typed reader per message layout, the counterpart of the builders in protocol.h: each takes
// the data after the name and its "+" and returns the fields, or nothing when a field is missing
// or not a strict decimal number. The readers check the layout only; what a seat or slot may be
// is the reader's caller's rule (core/net/board.h names the ranges). The server, the client,
// the benchmarks and the fuzzers read with these, so a layout is read one way everywhere.
#include <optional>
#include <string_view>
#include <vector>

#include "core/net/protocol.h"

namespace plimb::read {

// ---- requests ----

struct Login {
    int seat;
    std::string_view version;
    std::string_view name; // the rest, "+" and all
};
std::optional<Login> logininfoRequest(std::string_view data);

struct Reclaim {
    int seat;
    std::string_view secret;
};
std::optional<Reclaim> reclaimseatRequest(std::string_view data);

struct Kick {
    int requester, seat;
};
std::optional<Kick> kickhimRequest(std::string_view data);

// CMD_chat and CMD_action.
struct ChatLine {
    int seat;
    std::string_view text; // the rest: the text and its "|colour"
};
std::optional<ChatLine> chatRequest(std::string_view data);

struct Chatter {
    std::string_view player; // as written: relayed as it came
    std::string_view sound;  // the field after it
    std::string_view rest;   // everything after the player, as relayed
    bool soundAlone;         // nothing follows the sound but its "+"
};
// Also CMD_playasound as relayed to the clients.
std::optional<Chatter> playasound(std::string_view data);

struct Watch {
    int seat;
    std::string_view flag; // "1" just watch, "2" play again; anything else changes nothing
};
std::optional<Watch> justwatchRequest(std::string_view data);

// CMD_startgame, as the host's window asks for it and as the server tells it. The three numbers
// are read from the end, so a name that itself contains "+" still starts a game; the trailing "+"
// of the layout leaves one empty field behind them.
struct GameStart {
    std::string_view name; // the rest before the three numbers, "+" and all
    int time, playto, steals;
};
std::optional<GameStart> startgame(std::string_view data);

// A move's request: the player's seat and its two slots (hand and board of CMD_placemyletter, the
// two board slots of CMD_tradingmyletter, the opponent's and the own of CMD_stealinghisletter).
struct Move {
    int seat, from, to;
};
std::optional<Move> moveRequest(std::string_view data);

// A seat and one slot: CMD_discardletter and CMD_discardextra, request and notice alike.
struct SeatSlot {
    int seat, slot;
};
std::optional<SeatSlot> seatSlot(std::string_view data);

// ---- notices ----

// CMD_sendlogininfo, CMD_notvalid, CMD_toomany and CMD_winner.
std::optional<int> seat(std::string_view data);

// CMD_newplayerinfo, CMD_existingplayers and CMD_playerdisconnected.
struct SeatName {
    int seat;
    std::string_view name; // the rest
};
std::optional<SeatName> seatName(std::string_view data);

struct Watching {
    int seat, flag;
};
std::optional<Watching> justwatching(std::string_view data);

struct GameStats {
    int time, playto, steals, score1, score2;
};
std::optional<GameStats> gamestats(std::string_view data);

struct SlotCode {
    int slot, code;
};
struct Hand {
    int seat;
    std::vector<SlotCode> letters;
};
std::optional<Hand> letters(std::string_view data);
std::optional<std::vector<build::BoardLetter>> placetheletters(std::string_view data);

struct NewLetter {
    int seat, slot, code;
};
std::optional<NewLetter> newletter(std::string_view data);

struct Placed {
    int seat, hand, board, code; // hand 0: the computer's letter came from no hand
};
std::optional<Placed> placemyletter(std::string_view data);

struct Traded {
    int seat, slotA, codeA, slotB, codeB;
};
std::optional<Traded> tradingmyletter(std::string_view data);

struct Stolen {
    int thief, victim, thiefSlot, victimSlot, code;
};
std::optional<Stolen> stoldletter(std::string_view data);

struct Word {
    int seat;
    std::string_view word;
    int points, score;
};
std::optional<Word> formedword(std::string_view data);

struct Turn {
    int seat, stealsLeft;
};
std::optional<Turn> nextplayer(std::string_view data);

// CMD_seatkey: the secret's field, to be checked with parseSeatSecret().
std::string_view seatkey(std::string_view data);

} // namespace plimb::read
