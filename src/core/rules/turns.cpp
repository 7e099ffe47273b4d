#include <algorithm>
#include <climits>
#include <string>

#include "core/net/protocol.h"
#include "core/rules/game.h"

namespace plimb {

bool Game::chooseComputerPlayer(ComputerKind kind) {
    if (kind == nextKind_) return false;
    nextKind_ = kind;
    // Between games the next game is the only one it can play.
    if (!state_.gamerunning) computerKind_ = kind;
    return true;
}

void Game::startgame(std::string_view name, int timeperturn, int playtoscore, int maxsteals) {
    computerKind_ = nextKind_;
    state_.gamerunning = true;
    stopTimer();
    state_.timeperturn = timeperturn;
    state_.playtoscore = playtoscore;
    state_.maxsteals = maxsteals;
    sendToAll(state_, out_,
              build::startgame(name, std::to_string(timeperturn), std::to_string(playtoscore),
                               std::to_string(maxsteals)));
    ++state_.gamenumber;
    state_.turnnumber = 0;
    sendToAll(state_, out_, build::gamekey(state_.gamekey()));
    for (int record = 1; record <= 3; ++record) {
        tplayer& p = state_.seats[record];
        p.score = 0;
        p.stealsused = 0;
        p.watchonly = false;
        p.hand.fill(0);
        p.board.fill(0);
        state_.formedwords[record].clear();
    }
    deal();
    // findplayer passes the turn on, so seat 2 always moves first.
    state_.currentplayer = 1;
    findplayer();
}

bool Game::isComputerTurn() const {
    const int seat = state_.currentplayer;
    return (seat == 2 && !state_.seats[2].inuse) || state_.seats[seat].watchonly;
}

void Game::findplayer() {
    if (checkforwin()) return;
    stopTimer();
    state_.currentplayer = state_.currentplayer + 1 > 2 ? 1 : state_.currentplayer + 1;
    const int seat = state_.currentplayer;
    ++state_.turnnumber;
    state_.turnticks = 0;
    refill(seat);
    sendToAll(state_, out_, build::nextplayer(seat, state_.maxsteals - state_.seats[seat].stealsused));
    if (isComputerTurn()) {
        state_.turncountdown = 2;
        state_.timermode = TimerMode::Computer;
    } else {
        // The host's time per turn is taken as it stands; keep its extremes from overflowing.
        state_.turncountdown = static_cast<int>(std::min<long long>(state_.timeperturn + 2LL, INT_MAX));
        state_.timermode = TimerMode::Human;
    }
    startTimer();
}

void Game::turntimerTimer() {
    if (!state_.gamerunning) return;
    ++state_.turnticks;
    --state_.turncountdown;
    if (state_.turncountdown >= 1) return;
    stopTimer();
    const int seat = state_.currentplayer;
    if (!isPlayer(seat)) return;
    if (state_.timermode == TimerMode::Human) {
        sendToAll(state_, out_, build::timeup());
        // The slot is drawn blind; the hand is full at every turn start, so it holds a letter.
        const int slot = random_(kHandSlots) + 1;
        state_.seats[seat].hand[slot] = 0;
        sendToSeat(state_, out_, seat, build::discardextra(seat, slot));
        findplayer();
    } else {
        computerTurn(seat);
    }
}

void Game::justWatchStarted(int seat) {
    if (!state_.gamerunning || seat != state_.currentplayer) return;
    stopTimer();
    state_.timermode = TimerMode::Computer;
    state_.turncountdown = 1;
    startTimer();
}

void Game::seatLeft(int seat) {
    // Seat 1 is the host itself: when it goes, the whole server goes with it.
    if (state_.gamerunning && seat == state_.currentplayer && seat != 1) findplayer();
}

} // namespace plimb
