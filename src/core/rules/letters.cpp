#include <array>

#include "core/net/protocol.h"
#include "core/rules/game.h"

namespace plimb {

namespace {
constexpr int kA = 1, kE = 5, kI = 9, kO = 15;
constexpr int kJ = 10, kQ = 17, kX = 24, kZ = 26;

// Index = letter code 1..26 (a..z).
constexpr std::array<int, 27> kWorth = {1, 1, 3, 3,  1, 1, 5, 3, 3, 1, 5,  5, 1, 3,
                                        1, 1, 3, 10, 1, 1, 1, 1, 7, 5, 10, 3, 10};
} // namespace

int Game::letterworth(int code) {
    return (code >= 1 && code <= 26) ? kWorth[code] : 1;
}

std::string Game::convertoletter(int code) {
    return std::string(1, lowerLetter(code, ' '));
}

int Game::getletter(int seat) {
    // Codes 27..30 give a second chance to the four common vowels.
    int letter = random_(30) + 1;
    switch (letter) {
    case 27:
        letter = kA;
        break;
    case 28:
        letter = kE;
        break;
    case 29:
        letter = kI;
        break;
    case 30:
        letter = kO;
        break;
    default:
        break;
    }
    if ((letter == kJ || letter == kQ || letter == kX || letter == kZ) && random_(2) == 1)
        letter = random_(26) + 1;

    // Only the hand and the first four board slots count: a letter held there is usually
    // replaced, so hands stay varied.
    int held = 0;
    if (seat >= 1 && seat <= kSeatRecords) {
        const tplayer& p = state_.seats[seat];
        for (int h = 1; h <= kHandSlots; ++h)
            if (p.hand[h] == letter) ++held;
        for (int b = 1; b <= 4; ++b)
            if (p.board[b] == letter) ++held;
    }
    if (held > 0 && random_(held + 2) > 0) letter = random_(26) + 1;
    return letter;
}

void Game::deal() {
    for (int record = 1; record <= 3; ++record) {
        tplayer& p = state_.seats[record];
        std::vector<std::pair<int, int>> dealt;
        for (int h = 1; h <= 5; ++h) {
            p.hand[h] = getletter(record);
            dealt.emplace_back(h, p.hand[h]);
        }
        sendToSeat(state_, out_, record, build::letters(record, dealt));
    }
}

void Game::refill(int seat) {
    tplayer& p = state_.seats[seat];
    for (int h = 1; h <= kHandSlots; ++h) {
        if (p.hand[h] != 0) continue;
        p.hand[h] = getletter(seat);
        sendToSeat(state_, out_, seat, build::newletter(seat, h, p.hand[h]));
        return;
    }
}

} // namespace plimb
