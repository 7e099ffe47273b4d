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

std::vector<std::string> fields(std::string_view data) {
    std::vector<std::string> out;
    for (std::size_t start = 0;;) {
        const auto plus = data.find('+', start);
        out.emplace_back(data.substr(start, plus == std::string_view::npos ? plus : plus - start));
        if (plus == std::string_view::npos) return out;
        start = plus + 1;
    }
}

int num(const std::string& s) {
    return parseInt(s).value_or(-1);
}

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
        const auto f = fields(m.data);
        const int owner = f.empty() ? -1 : num(f[0]);
        if (m.name == msg::letters || m.name == msg::newletter || m.name == msg::discardextra ||
            m.name == msg::notvalid || m.name == msg::toomany) {
            if (owner != seat) counts_.violate("a hand reached another seat");
            return;
        }
        // Broadcasts are followed once, as the spectator sees them.
        if (seat != 3) return;
        // A steal is checked before it is announced, so its word comes just before it.
        if (!pendingWord_.empty()) {
            if (m.name == msg::stoldletter) follow(m.name, f);
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
            follow(m.name, f);
        } else if (m.name == msg::formedword) {
            pendingWord_ = f;
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
    void follow(std::string_view name, const std::vector<std::string>& f) {
        const int p = num(f[0]);
        if (p != 1 && p != 2) return;
        auto& board = board_[p];
        if (name == msg::placemyletter && f.size() >= 4) {
            board[num(f[2]) % 11] = num(f[3]);
        } else if (name == msg::tradingmyletter && f.size() >= 5) {
            board[num(f[1]) % 11] = num(f[2]);
            board[num(f[3]) % 11] = num(f[4]);
        } else if (name == msg::stoldletter && f.size() >= 5) {
            board[num(f[2]) % 11] = num(f[4]);
            board_[num(f[1]) == 1 ? 1 : 2][num(f[3]) % 11] = 0;
        } else if (name == msg::discardletter && f.size() >= 2) {
            board[num(f[1]) % 11] = 0;
        }
    }

    void formedword(const std::vector<std::string>& f) {
        ++counts_.words;
        if (f.size() < 4) return counts_.violate("short formedword");
        const int p = num(f[0]);
        if (p != 1 && p != 2) return counts_.violate("word of no player");
        const std::string& word = f[1];
        std::string onBoard;
        for (int slot = 1; slot <= 10; ++slot)
            onBoard += board_[p][slot] ? static_cast<char>('a' + board_[p][slot] - 1) : ' ';
        const auto first = onBoard.find_first_not_of(' ');
        onBoard = first == std::string::npos
                      ? ""
                      : onBoard.substr(first, onBoard.find_last_not_of(' ') - first + 1);
        std::string lower = word;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower != onBoard) counts_.violate("word is not the player's board");
        if (!spell_.isword(word)) counts_.violate("word not in the dictionary");
        if (!scored_[p].insert(lower).second) counts_.violate("word scored twice");
        int points = 0;
        for (char c : lower)
            points += Game::letterworth(c - 'a' + 1);
        const int n = static_cast<int>(lower.size());
        points *= n >= 6 ? n - 4 : 1;
        if (num(f[2]) != points) counts_.violate("points do not match the word");
        if (num(f[3]) != score_[p] + num(f[2])) counts_.violate("total does not add up");
        score_[p] = num(f[3]);
    }

    const TDictn& spell_;
    int playto_;
    Counts& counts_;
    int current_ = 0;
    int winner_ = 0;
    int score_[3] = {0, 0, 0};
    int board_[3][11] = {};
    std::set<std::string> scored_[3];
    std::vector<std::string> pendingWord_;
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
        server.received(seat, build::logininfo(seat, kVersion, "P" + std::to_string(seat)));
    }
    server.received(1, build::startgame("P1", "30", std::to_string(playto), "5"));
    server.received(1, build::justwatch(1, 1));
    server.received(2, build::justwatch(2, 1));
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
