#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/net/board.h"
#include "core/rules/outbox.h"

namespace plimb {

inline constexpr int kSeatRecords = 11; // records 1..11; 10 only holds a refused connection

// One seat record. Arrays are indexed by the 1-based slot numbers used on the wire; index 0 is
// unused so the numbering never needs translating.
struct tplayer {
    std::string name;   // connection field: the login name, empty when free
    bool inuse = false; // connection field: a connection occupies the record
    int score = 0;
    bool watchonly = false;
    std::array<int, kHandSlots + 1> hand{};
    std::array<int, kBoardSlots + 1> board{};
    int stealsused = 0;
};

enum class TimerMode { Human = 1, Computer = 2 };

// Everything the server knows: connections and the game. Lives as long as the server.
struct GameState {
    std::array<tplayer, kSeatRecords + 1> seats{}; // seats[1..11]
    bool gamerunning = false;
    int currentplayer = 0;
    int timeperturn = 0;
    int playtoscore = 0;
    int maxsteals = 0;
    int turncountdown = 0;
    int seatcount = 0;
    TimerMode timermode = TimerMode::Human;
    // listbox_1..listbox_3: the words seat k has scored this game, in order.
    std::array<std::vector<std::string>, 4> formedwords{};

    // What a window that comes back after a cut needs to be shown the table as it left it.
    // `session` names this server among the host's runs (the shell sets it once); with
    // `gamenumber`, the games it started, it makes each game's key.
    std::int64_t session = 0;
    int gamenumber = 0;
    int turnnumber = 0; // turns begun in the running game
    int turnticks = 0;  // seconds the current turn's timer has run
    bool turnclockrunning = false;
    int lastwinner = 0;
    std::string gamekey() const { return std::to_string(session) + "." + std::to_string(gamenumber); }

    static bool validSeat(int seat) { return isSeat(seat); }
    static bool validBoardSlot(int slot) { return isBoardSlot(slot); }
    static bool validHandSlot(int slot) { return isHandSlot(slot); }
};

// Send to every record 1..seatcount whose connection flag is set, in record order.
inline void sendToAll(const GameState& state, Outbox& out, std::string_view text) {
    for (int seat = 1; seat <= state.seatcount && seat <= kSeatRecords; ++seat)
        if (state.seats[seat].inuse) out.send(seat, text);
}

// Send to one record, only while its connection flag is set.
inline void sendToSeat(const GameState& state, Outbox& out, int seat, std::string_view text) {
    if (seat >= 1 && seat <= kSeatRecords && state.seats[seat].inuse) out.send(seat, text);
}

} // namespace plimb
