// Soak: engine-only games through the real server logic, every notice re-checked by a referee.
//
//   plimb_soak [--games N] [--playto P]
//
// Game g (1..N, default 1000) uses seed g. Seats 1 and 2 log in and ask to just watch, so the
// computer plays both; seat 3 is a spectator. The referee follows what each seat is sent and
// counts violations of: turn order (turns alternate, seat 2 first, moves only by the player whose
// turn it is), scores (each word's points from its letters and length, totals that add up and
// only rise, the winner at the target and ahead), words (in the dictionary, the player's board,
// never scored twice by one player), and hidden hands (a hand reaches its owner only). A game
// that has no winner after kMaxTicks turn-timer ticks is counted as unfinished: the computer may
// run out of new words for its letters, and then the game goes on as it would on screen.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"
#include "core/rules/game.h"
#include "core/server/server.h"

using namespace plimb;

namespace {

constexpr int kMaxTicks = 200000;

class Timer : public TurnTimer {
public:
    void start() override { running = true; }
    void stop() override { running = false; }
    bool running = false;
};

struct Counts {
    long games = 0, won = 0, unfinished = 0, notices = 0, moves = 0, words = 0;
    std::map<std::string, long> violations;
    void violate(const std::string& what) { ++violations[what]; }
};

// Follows one game as the notices tell it.
class Referee : public Outbox {
public:
    Referee(const TDictn& spell, int playto, Counts& counts)
        : spell_(spell), playto_(playto), counts_(counts) {}

    void send(int seat, std::string_view text) override {
        ++counts_.notices;
        const auto m = splitMessage(text);
        // Every notice a seat's own is about names that seat first.
        const int owner = read::seat(m.data).value_or(-1);
        if (m.name == msg::letters || m.name == msg::newletter || m.name == msg::discardextra ||
            m.name == msg::notvalid || m.name == msg::toomany) {
            if (owner != seat) counts_.violate("a hand reached another seat");
            return;
        }
        // Broadcasts are followed once, as the spectator sees them.
        if (seat != 3) return;
        // A steal is checked before it is announced, so its word comes just before it.
        if (!pendingWord_.empty()) {
            if (m.name == msg::stoldletter) follow(m.name, m.data);
            formedword(pendingWord_);
            pendingWord_.clear();
            if (m.name == msg::stoldletter) {
                ++counts_.moves;
                if (owner != current_) counts_.violate("a move out of turn");
                return;
            }
        }
        if (m.name == msg::nextplayer) {
            if (owner != (current_ == 0 ? 2 : 3 - current_)) counts_.violate("turn out of order");
            current_ = owner;
        } else if (m.name == msg::placemyletter || m.name == msg::tradingmyletter ||
                   m.name == msg::stoldletter || m.name == msg::discardletter) {
            ++counts_.moves;
            if (owner != current_) counts_.violate("a move out of turn");
            follow(m.name, m.data);
        } else if (m.name == msg::formedword) {
            pendingWord_ = std::string(m.data);
        } else if (m.name == msg::winner) {
            winner_ = owner;
            if (owner != 1 && owner != 2)
                counts_.violate("winner is no player");
            else if (score_[owner] < playto_ || score_[owner] <= score_[3 - owner])
                counts_.violate("winner below the target or not ahead");
        }
    }
    void close(int) override {}
    void move(int, int) override {}
    int winner() const { return winner_; }
    // The game is over: a word still waiting for a notice after it is checked now.
    void finish() {
        if (!pendingWord_.empty()) formedword(pendingWord_);
        pendingWord_.clear();
    }

private:
    void follow(std::string_view name, std::string_view data) {
        const auto slot = [](int n) { return isBoardSlot(n) ? n : 0; };
        if (name == msg::placemyletter) {
            if (const auto f = read::placemyletter(data); f && isPlayerSeat(f->seat))
                board_[f->seat][slot(f->board)] = f->code;
        } else if (name == msg::tradingmyletter) {
            if (const auto f = read::tradingmyletter(data); f && isPlayerSeat(f->seat)) {
                board_[f->seat][slot(f->slotA)] = f->codeA;
                board_[f->seat][slot(f->slotB)] = f->codeB;
            }
        } else if (name == msg::stoldletter) {
            if (const auto f = read::stoldletter(data); f && isPlayerSeat(f->thief)) {
                board_[f->thief][slot(f->thiefSlot)] = f->code;
                board_[f->victim == 1 ? 1 : 2][slot(f->victimSlot)] = 0;
            }
        } else if (name == msg::discardletter) {
            if (const auto f = read::seatSlot(data); f && isPlayerSeat(f->seat))
                board_[f->seat][slot(f->slot)] = 0;
        }
    }

    void formedword(std::string_view data) {
        ++counts_.words;
        const auto f = read::formedword(data);
        if (!f) return counts_.violate("short formedword");
        const int p = f->seat;
        if (!isPlayerSeat(p)) return counts_.violate("word of no player");
        const std::string word(f->word);
        std::string onBoard;
        for (int n = 1; n <= kBoardSlots; ++n)
            onBoard += lowerLetter(board_[p][n], ' ');
        const auto first = onBoard.find_first_not_of(' ');
        onBoard = first == std::string::npos
                      ? ""
                      : onBoard.substr(first, onBoard.find_last_not_of(' ') - first + 1);
        std::string lower;
        for (const char c : word)
            lower += lowerLetter(letterCode(c), c);
        if (lower != onBoard) counts_.violate("word is not the player's board");
        if (!spell_.isword(word)) counts_.violate("word not in the dictionary");
        if (!scored_[p].insert(lower).second) counts_.violate("word scored twice");
        int points = 0;
        for (char c : lower)
            points += Game::letterworth(letterCode(c));
        const int n = static_cast<int>(lower.size());
        points *= n >= 6 ? n - 4 : 1;
        if (f->points != points) counts_.violate("points do not match the word");
        if (f->score != score_[p] + f->points) counts_.violate("total does not add up");
        score_[p] = f->score;
    }

    const TDictn& spell_;
    int playto_;
    Counts& counts_;
    int current_ = 0;
    int winner_ = 0;
    int score_[3] = {0, 0, 0};
    int board_[3][kBoardSlots + 1] = {};
    std::set<std::string> scored_[3];
    std::string pendingWord_; // the data of a CMD_formedword not yet checked
};

void play(long seed, int playto, const TDictn& spell, const std::vector<std::string>& words, Counts& counts) {
    GameState state;
    Referee referee(spell, playto, counts);
    Timer timer;
    Random random(static_cast<std::uint32_t>(seed));
    Game game(state, referee, random, timer, spell, words);
    Server server(state, referee, game);
    const auto drain = [&] {
        while (server.hasQueuedRequests())
            server.socktimerTimer();
    };
    for (int seat = 1; seat <= 3; ++seat) {
        server.connectionAccepted(server.pickSeat());
        server.received(seat, build::logininfoRequest(seat, kVersion, "P" + std::to_string(seat)));
    }
    server.received(1, build::startgame("P1", "30", std::to_string(playto), "5"));
    server.received(1, build::justwatchRequest(1, 1));
    server.received(2, build::justwatchRequest(2, 1));
    drain();
    ++counts.games;
    for (int tick = 0; tick < kMaxTicks && state.gamerunning; ++tick) {
        if (!timer.running) break;
        game.turntimerTimer();
        drain();
    }
    referee.finish();
    if (state.gamerunning)
        ++counts.unfinished;
    else if (referee.winner())
        ++counts.won;
}

} // namespace

int main(int argc, char** argv) {
    long games = 1000;
    int playto = 200;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view flag = argv[i];
        if (flag == "--games")
            games = std::atol(argv[i + 1]);
        else if (flag == "--playto")
            playto = std::atoi(argv[i + 1]);
    }
    const TDictn spell(builtinWordRecords());
    const std::vector<std::string> words = builtinComputerWords();
    Counts counts;
    const auto start = std::chrono::steady_clock::now();
    for (long seed = 1; seed <= games; ++seed)
        play(seed, playto, spell, words, counts);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long violations = 0;
    for (const auto& [what, n] : counts.violations)
        violations += n;
    std::printf("games %ld (seeds 1..%ld, to %d): won %ld, unfinished after %d ticks %ld\n", counts.games,
                games, playto, counts.won, kMaxTicks, counts.unfinished);
    std::printf("moves %ld, words %ld, notices checked %ld, in %.1f s\n", counts.moves, counts.words,
                counts.notices, seconds);
    std::printf("violations %ld\n", violations);
    for (const auto& [what, n] : counts.violations)
        std::printf("  %s: %ld\n", what.c_str(), n);
    return violations == 0 ? 0 : 1;
}
