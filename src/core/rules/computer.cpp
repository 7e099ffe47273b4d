#include <string>
#include <string_view>

#include "core/dict/tdictn.h"
#include "core/rules/game.h"

namespace plimb {

namespace {

constexpr char kUsed = '*';

std::string upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Marks one copy of `letter` in `pool` as used; false when none is left.
bool take(std::string& pool, char letter) {
    const auto at = pool.find(letter);
    if (at == std::string::npos) return false;
    pool[at] = kUsed;
    return true;
}

} // namespace

void Game::computerplay(int seat) {
    if (!isPlayer(seat)) return;
    tplayer& me = state_.seats[seat];
    const tplayer& him = state_.seats[opponentOf(seat)];

    // Tidy the board to the left. Every exchange is a real request and is announced, the
    // exchanges of two empty slots that follow the first one included.
    for (int n = kBoardSlots; n >= 1; --n) {
        if (me.board[n] == 0) continue;
        for (int m = 1; m < n; ++m)
            if (me.board[m] == 0) tradingmyletter(seat, n, m);
    }

    std::string board, hand, his;
    for (int b = 1; b <= kBoardSlots; ++b)
        if (me.board[b] != 0) board += upperLetter(me.board[b]);
    for (int h = 1; h <= kHandSlots; ++h)
        if (me.hand[h] != 0) hand += upperLetter(me.hand[h]);
    for (int b = 1; b <= kBoardSlots; ++b)
        if (him.board[b] != 0) his += upperLetter(him.board[b]);
    const auto bc = board.size();

    // The first and the last entry of the list are never tried.
    int i = random_(lastwordindex_ - 10) + 1;
    for (int tries = 0; tries < lastwordindex_ - 1; ++tries) {
        if (++i > lastwordindex_ - 1) i = 1;
        const std::string word = upperCase(words_[static_cast<std::size_t>(i)]);
        std::string boardCopy = board, handCopy = hand, hisCopy = his;
        const auto length = word.size();
        if (bc != 0 && length >= bc + 2) continue;
        if (alreadyScored(seat, word) || length < 2) continue;

        if (bc == 0) {
            if (length != 2 || !take(handCopy, word[0]) || !take(handCopy, word[1])) continue;
            for (int h = 1; h <= kHandSlots; ++h) {
                if (upperLetter(me.hand[h]) == word[0]) {
                    placemyletter(seat, h, 1);
                    return;
                }
            }
            continue;
        }

        if (length != bc && length != bc + 1) continue;
        bool found = true;
        for (char letter : word) {
            if (take(boardCopy, letter)) continue;
            // At most one letter may come from outside the board: the hand or, with three or
            // more letters down and steals left, the opponent's board.
            if (handCopy.find(letter) != std::string::npos ||
                (bc > 2 && hisCopy.find(letter) != std::string::npos && me.stealsused < state_.maxsteals)) {
                handCopy.clear();
                hisCopy.clear();
                continue;
            }
            found = false;
            break;
        }
        if (found) {
            makeword(seat, word);
            return;
        }
    }

    if (bc == 0) {
        for (int h = 1; h <= kHandSlots; ++h) {
            if (me.hand[h] != 0 &&
                std::string_view("DLMNPRS").find(upperLetter(me.hand[h])) != std::string_view::npos) {
                placemyletter(seat, h, 1);
                return;
            }
        }
    } else if (bc == 1) {
        for (int h = 1; h <= kHandSlots; ++h) {
            if (me.hand[h] != 0 &&
                std::string_view("AEIO").find(upperLetter(me.hand[h])) != std::string_view::npos) {
                placemyletter(seat, h, 2);
                return;
            }
        }
    }
    if (bc >= 6)
        discardletter(seat, random_(6) + 1);
    else
        discardextra(seat, random_(kHandSlots) + 1);
}

void Game::makeword(int seat, const std::string& word) {
    tplayer& me = state_.seats[seat];
    const tplayer& him = state_.seats[opponentOf(seat)];
    const int length = static_cast<int>(word.size());
    // The word's letter at 1-based position p.
    auto at = [&](int p) { return word[static_cast<std::size_t>(p - 1)]; };
    auto holds = [&](int slot, int p) { return me.board[slot] != 0 && upperLetter(me.board[slot]) == at(p); };

    for (int p = 1; p <= length; ++p) {
        for (int s = 1; s <= kBoardSlots; ++s) {
            const bool alreadyRight = s <= length && holds(s, s);
            if (holds(s, p) && !alreadyRight && s != p) tradingmyletter(seat, s, p);
        }
    }

    for (int p = 1; p <= length; ++p) {
        if (holds(p, p)) continue;
        for (int h = 1; h <= kHandSlots; ++h) {
            if (me.hand[h] != 0 && upperLetter(me.hand[h]) == at(p)) {
                placemyletter(seat, h, p);
                return;
            }
        }
    }

    if (me.stealsused < state_.maxsteals) {
        for (int p = 1; p <= length; ++p) {
            if (holds(p, p)) continue;
            for (int s = 1; s <= kBoardSlots; ++s) {
                if (him.board[s] == 0 || upperLetter(him.board[s]) != at(p) || s == p) continue;
                if (spell_.isword(word) && stealinghisletter(seat, s, p)) return;
            }
        }
    }

    discardextra(seat, random_(kHandSlots) + 1);
}

} // namespace plimb
