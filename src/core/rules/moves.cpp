#include <utility>

#include "core/net/protocol.h"
#include "core/rules/game.h"

namespace plimb {

// Every move is refused silently unless it comes from the seat whose turn it is and names
// slots inside the tables; only the two steal refusals are answered.

bool Game::placemyletter(int seat, int hand, int board) {
    if (!isPlayer(seat) || !GameState::validHandSlot(hand) || !GameState::validBoardSlot(board)) return false;
    tplayer& p = state_.seats[seat];
    if (seat != state_.currentplayer || p.hand[hand] == 0) return false;
    stopTimer();
    p.board[board] = p.hand[hand];
    p.hand[hand] = 0;
    sendToAll(state_, out_, build::placemyletter(seat, hand, board, p.board[board]));
    checkword(seat);
    findplayer();
    return true;
}

bool Game::tradingmyletter(int seat, int a, int b) {
    if (!isPlayer(seat) || !GameState::validBoardSlot(a) || !GameState::validBoardSlot(b)) return false;
    if (seat != state_.currentplayer) return false;
    // Stopped for good: once a player rearranges, the rest of the turn has no time limit.
    stopTimer();
    tplayer& p = state_.seats[seat];
    std::swap(p.board[a], p.board[b]);
    sendToAll(state_, out_, build::tradingmyletter(seat, a, p.board[a], b, p.board[b]));
    return true;
}

bool Game::discardletter(int seat, int board) {
    if (!isPlayer(seat) || !GameState::validBoardSlot(board)) return false;
    tplayer& p = state_.seats[seat];
    if (seat != state_.currentplayer || p.board[board] == 0) return false;
    stopTimer();
    p.board[board] = 0;
    sendToAll(state_, out_, build::discardletter(seat, board));
    checkword(seat);
    findplayer();
    return true;
}

bool Game::discardextra(int seat, int hand) {
    if (!isPlayer(seat) || !GameState::validHandSlot(hand)) return false;
    tplayer& p = state_.seats[seat];
    if (seat != state_.currentplayer || p.hand[hand] == 0) return false;
    stopTimer();
    p.hand[hand] = 0;
    // The hand is private: only the mover hears of it.
    sendToSeat(state_, out_, seat, build::discardextra(seat, hand));
    checkword(seat);
    findplayer();
    return true;
}

bool Game::stealinghisletter(int seat, int hisSlot, int mySlot) {
    if (!isPlayer(seat) || !GameState::validBoardSlot(hisSlot) || !GameState::validBoardSlot(mySlot))
        return false;
    if (seat != state_.currentplayer) return false;
    tplayer& p = state_.seats[seat];
    if (p.stealsused >= state_.maxsteals) {
        sendToSeat(state_, out_, seat, build::toomany(seat));
        return false;
    }
    const int opponent = opponentOf(seat);
    tplayer& his = state_.seats[opponent];

    // The steal is tried on the mover's board first; the opponent loses the letter only when
    // it makes a new word at once.
    const int remembered = p.board[mySlot];
    p.board[mySlot] = his.board[hisSlot];
    if (!checkword(seat)) {
        sendToSeat(state_, out_, seat, build::notvalid(seat));
        p.board[mySlot] = remembered;
        return false;
    }
    stopTimer();
    ++p.stealsused;
    if (state_.maxsteals == kUnlimitedSteals) p.stealsused = 0;
    his.board[hisSlot] = 0;
    sendToAll(state_, out_, build::stoldletter(seat, opponent, mySlot, hisSlot, p.board[mySlot]));
    findplayer();
    return true;
}

} // namespace plimb
