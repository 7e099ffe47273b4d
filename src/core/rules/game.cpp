#include "core/rules/game.h"

#include <algorithm>

#include "core/dict/tdictn.h"
#include "core/net/protocol.h"

namespace plimb {

int Game::lengthBonus(int length) {
    return length <= 5 ? 1 : length - 4;
}

int Game::wordPoints(std::string_view word) {
    int points = 0;
    for (const char c : word)
        points += letterworth(c - 'a' + 1);
    return points * lengthBonus(static_cast<int>(word.size()));
}

void Game::startTimer() {
    state_.turnclockrunning = true;
    timer_.start();
}

void Game::stopTimer() {
    state_.turnclockrunning = false;
    timer_.stop();
}

bool Game::sameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

Game::Game(GameState& state, Outbox& out, Random& random, TurnTimer& timer, const TDictn& spell,
           std::vector<std::string> computerWords)
    : state_(state), out_(out), random_(random), timer_(timer), spell_(spell),
      words_(std::move(computerWords)), lastwordindex_(static_cast<int>(words_.size()) - 1) {}

bool Game::alreadyScored(int seat, std::string_view word) const {
    // Only records 1..3 keep a list of formed words; any other seat has never scored.
    if (seat < 1 || seat > 3) return false;
    const auto& list = state_.formedwords[seat];
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& entry) { return sameWord(entry, word); });
}

bool Game::checkword(int seat) {
    if (seat < 1 || seat > kSeatRecords) return false;
    tplayer& p = state_.seats[seat];

    // Empty slots read as blanks, so a gap stays inside the text and never makes a word.
    std::string boardText;
    for (int b = 1; b <= kBoardSlots; ++b)
        boardText += convertoletter(p.board[b]);
    if (!spell_.isword(boardText)) return false;

    std::string word;
    for (int b = 1; b <= kBoardSlots; ++b)
        if (p.board[b] != 0) word += convertoletter(p.board[b]);
    if (alreadyScored(seat, word)) return false;
    if (seat <= 3) state_.formedwords[seat].push_back(word);
    const int points = wordPoints(word);
    p.score += points;
    sendToAll(state_, out_, build::formedword(seat, word, points, p.score));
    return true;
}

bool Game::checkforwin() {
    const int mover = state_.currentplayer;
    if (!isPlayer(mover)) return false;
    if (state_.seats[mover].score < state_.playtoscore) return false;
    if (state_.seats[1].score == state_.seats[2].score) return false;
    stopTimer();
    state_.gamerunning = false;
    state_.lastwinner = mover;
    sendToAll(state_, out_, build::winner(mover));
    return true;
}

void Game::replayTo(int seat) {
    if (state_.gamerunning && isPlayer(seat)) {
        std::vector<std::pair<int, int>> hand;
        for (int h = 1; h <= kHandSlots; ++h)
            if (state_.seats[seat].hand[h] != 0) hand.emplace_back(h, state_.seats[seat].hand[h]);
        sendToSeat(state_, out_, seat, build::letters(seat, hand));
    }
    // After a game its tiles stay on every board until the next one starts; a newcomer sees them
    // too.
    if (state_.gamerunning || state_.gamenumber > 0) {
        std::vector<build::BoardLetter> boards;
        for (int player = 1; player <= 2; ++player)
            for (int b = 1; b <= kBoardSlots; ++b)
                if (state_.seats[player].board[b] != 0)
                    boards.push_back({player, b, state_.seats[player].board[b]});
        sendToSeat(state_, out_, seat, build::placetheletters(boards));
    }
    if (state_.gamerunning)
        sendToSeat(state_, out_, seat,
                   build::gamestats(state_.timeperturn, state_.playtoscore, state_.maxsteals,
                                    state_.seats[1].score, state_.seats[2].score));
    sendToSeat(state_, out_, seat, buildTablestate(tableState(seat)));
}

TableState Game::tableState(int seat) const {
    TableState t;
    t.key = state_.gamekey();
    t.running = state_.gamerunning;
    if (!t.running) {
        t.winner = state_.gamenumber > 0 ? state_.lastwinner : 0;
        t.score = {0, state_.seats[1].score, state_.seats[2].score};
        return t;
    }
    t.turn = state_.turnnumber;
    t.current = state_.currentplayer;
    t.secondsLeft = state_.timeperturn - state_.turnticks;
    t.clockRunning = state_.turnclockrunning;
    for (int player = 1; player <= 2; ++player) {
        t.stealsLeft[player] = state_.maxsteals - state_.seats[player].stealsused;
        t.watching[player] = state_.seats[player].watchonly;
    }
    if (isPlayer(seat)) {
        const auto& words = state_.formedwords[seat];
        const std::size_t first = words.size() > kMaxWordsShown ? words.size() - kMaxWordsShown : 0;
        for (std::size_t i = first; i < words.size(); ++i)
            t.words.emplace_back(words[i], wordPoints(words[i]));
    }
    return t;
}

} // namespace plimb
