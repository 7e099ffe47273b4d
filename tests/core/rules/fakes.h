#pragma once
// Helpers for driving Game by hand: the recording outbox and timer, boards written as text, and
// a small dictionary built in memory.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/dict/records.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/rules/game.h"
#include "support/fakes.h"

namespace plimb::test {

using plimb::test::FakeOutbox;
using plimb::test::FakeTimer;
using plimb::test::Sent;

inline int code(char c) {
    return c == '.' ? 0 : c - 'a' + 1;
}

// "ca.t" puts c, a, nothing, t into slots 1..4 and empties the rest.
template <std::size_t N> void setSlots(std::array<int, N>& slots, std::string_view letters) {
    slots.fill(0);
    for (std::size_t i = 0; i < letters.size() && i + 1 < N; ++i)
        slots[i + 1] = code(letters[i]);
}

template <std::size_t N> std::string slotText(const std::array<int, N>& slots) {
    std::string text;
    for (std::size_t i = 1; i < N; ++i)
        text += slots[i] == 0 ? '.' : static_cast<char>('a' + slots[i] - 1);
    return text;
}

// A game with seats 1, 2 and a spectator in seat 3 connected, a seeded generator, a small
// dictionary and a computer word list chosen by the test.
class GameFixture {
public:
    explicit GameFixture(std::vector<std::string> dictionary = {"at", "cat", "cats", "act", "quartz",
                                                                "interviews"},
                         std::vector<std::string> computerWords = {"aa", "zz"}, std::uint32_t seed = 1)
        : records(makeRecords(std::move(dictionary))), spell(std::span<const char>(records)), random(seed),
          game(state, out, random, timer, spell, std::move(computerWords)) {
        for (int seat = 1; seat <= 3; ++seat)
            state.seats[seat].inuse = true;
        state.seatcount = 3;
    }

    // A running game at seat `current`'s turn with the given settings and no letters anywhere.
    void playing(int current, int timeperturn = 30, int playtoscore = 200, int maxsteals = 5) {
        state.gamerunning = true;
        state.currentplayer = current;
        state.timeperturn = timeperturn;
        state.playtoscore = playtoscore;
        state.maxsteals = maxsteals;
        state.timermode = TimerMode::Human;
        state.turncountdown = timeperturn + 2;
        timer.running = true;
    }
    void board(int seat, std::string_view letters) { setSlots(state.seats[seat].board, letters); }
    void hand(int seat, std::string_view letters) { setSlots(state.seats[seat].hand, letters); }
    std::string board(int seat) const { return slotText(state.seats[seat].board); }
    std::string hand(int seat) const { return slotText(state.seats[seat].hand); }

    GameState state;
    FakeOutbox out;
    FakeTimer timer;
    std::string records;
    TDictn spell;
    Random random;
    Game game;
};

} // namespace plimb::test
