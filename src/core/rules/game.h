#pragma once
// The server's rules: letters, moves, word check and scoring, turns and the turn timer, and the
// computer player. Game works on the shared GameState; it announces everything through the
// Outbox and draws every letter from the one injected Random, in the fixed order of the rules.
//
// Callers (the server dispatcher) have already checked that seat and slot numbers are within
// the table (seats 1..9, board 1..10, hand 1..6); Game still ignores anything outside.
#include <string>
#include <string_view>
#include <vector>

#include "core/net/board.h"
#include "core/net/protocol.h"
#include "core/rules/computerkind.h"
#include "core/rules/gamestate.h"
#include "core/rules/outbox.h"
#include "core/rules/random.h"

namespace plimb {

class TDictn;
class AnagramIndex;

class Game {
public:
    // `computerWords` is the computer player's list (listbox_words), lower case, sorted.
    Game(GameState& state, Outbox& out, Random& random, TurnTimer& timer, const TDictn& spell,
         std::vector<std::string> computerWords);

    GameState& state() { return state_; }

    // CMD_startgame: resets seats 1..3, deals, and hands the first turn to seat 2.
    void startgame(std::string_view name, int timeperturn, int playtoscore, int maxsteals);

    // The five moves. Each returns true when carried out.
    bool placemyletter(int seat, int hand, int board);
    bool tradingmyletter(int seat, int a, int b);
    bool discardletter(int seat, int board);
    bool discardextra(int seat, int hand);
    bool stealinghisletter(int seat, int hisSlot, int mySlot);

    bool checkword(int seat);
    bool checkforwin();
    void findplayer();
    // One tick of the 1000 ms turn timer.
    void turntimerTimer();
    void computerplay(int seat);

    // The computer player that takes the computer's turns, Classic unless the host picks
    // another; a change applies from the next computer turn.
    void setComputerPlayer(ComputerKind kind) { computerKind_ = nextKind_ = kind; }
    ComputerKind computerPlayer() const { return computerKind_; }
    // The host's choice from a menu: during a game it plays from the next startgame, so a running
    // game keeps the player it began with; between games it applies at once. Returns false when that level is
    // already the one chosen.
    bool chooseComputerPlayer(ComputerKind kind);
    ComputerKind nextComputerPlayer() const { return nextKind_; }
    // One whole computer turn for `seat` by the chosen player: what the turn timer runs.
    void computerTurn(int seat);
    // The words the strong player searches (kept by reference). Without one it uses the index of
    // the built-in list, built at its first turn.
    void setAnagramIndex(const AnagramIndex& index);

    // A seat's player asked only to watch (watchonly already set): a running turn of that seat
    // passes to the computer on the next tick.
    void justWatchStarted(int seat);
    // A newcomer logged in; called after every login. While a game runs (gamerunning) it is sent
    // its hand (seat 1 or 2 only), both boards and the game stats; after a game, the boards as the
    // game ended. Then, always, the state of the table (CMD_tablestate).
    void replayTo(int seat);
    // The table as CMD_tablestate tells it to a newcomer in `seat`.
    TableState tableState(int seat) const;
    // The connection of `seat` closed (flags already cleared): a running turn of seat 2 passes.
    void seatLeft(int seat);

    // Letter supply.
    int getletter(int seat);
    static int letterworth(int code);
    // What a word scores: the sum of its letters (a to z) times lengthBonus of its length.
    static int wordPoints(std::string_view word);
    static std::string convertoletter(int code);

    // Scoring, shared with the strong player. A word is worth the sum of its letters times
    // lengthBonus(its length): 1 up to five letters, then one more for every further letter.
    static int lengthBonus(int length);
    // Whether two words count as the same word: equal but for the case of A..Z.
    static bool sameWord(std::string_view a, std::string_view b);

private:
    static bool isPlayer(int seat) { return seat == 1 || seat == 2; }
    static int opponentOf(int seat) { return seat == 1 ? 2 : 1; }
    // The turn timer, with the state kept in step for a newcomer's view of the clock.
    void startTimer();
    void stopTimer();
    void deal();
    void refill(int seat);
    bool isComputerTurn() const;
    void makeword(int seat, const std::string& word);
    bool alreadyScored(int seat, std::string_view word) const;

    GameState& state_;
    Outbox& out_;
    Random& random_;
    TurnTimer& timer_;
    const TDictn& spell_;
    std::vector<std::string> words_;
    int lastwordindex_;
    ComputerKind computerKind_ = ComputerKind::Classic;
    ComputerKind nextKind_ = ComputerKind::Classic;
    const AnagramIndex* anagrams_ = nullptr;
};

} // namespace plimb
