#include "core/rules/strong.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/dict/tdictn.h"
#include "core/rules/game.h"
#include "core/rules/random.h"

namespace plimb {

namespace {

enum class Kind { Place, Throw, Remove, Steal };

// One turn-ending move, described by the letters it moves; the slots are where those letters
// stand now.
struct Option {
    Kind kind = Kind::Place;
    int handSlot = 0;  // Place, Throw
    int boardSlot = 0; // Place, Steal: own letter overwritten (0: onto an empty slot); Remove
    int hisSlot = 0;   // Steal
    int in = 0;        // letter code coming onto the board
    int out = 0;       // letter code leaving the board
    LetterSet board;   // own board letters after the move
    LetterSet hand;    // own hand letters after the move
    int points = 0;
    std::string word; // what the board will spell, when it scores
    int reach = 0;
    int bestNext = 0;
    int stealable = 0;
};

Option option(Kind kind, int handSlot, int boardSlot, int hisSlot, int in, int out, LetterSet board,
              LetterSet hand) {
    Option o;
    o.kind = kind;
    o.handSlot = handSlot;
    o.boardSlot = boardSlot;
    o.hisSlot = hisSlot;
    o.in = in;
    o.out = out;
    o.board = board;
    o.hand = hand;
    return o;
}

int pointsOf(const LetterSet& letters) {
    int sum = 0;
    for (int code = 1; code <= 26; ++code)
        sum += letters.count(code) * Game::letterworth(code);
    return sum * Game::lengthBonus(letters.size);
}

// The distinct letter codes of a set, in alphabet order.
std::vector<int> codesOf(const LetterSet& letters) {
    std::vector<int> codes;
    for (int code = 1; code <= 26; ++code)
        if (letters.count(code) > 0) codes.push_back(code);
    return codes;
}

bool scoredIn(const std::vector<std::string>& scored, std::string_view word) {
    return std::any_of(scored.begin(), scored.end(),
                       [&](const std::string& s) { return Game::sameWord(s, word); });
}

template <std::size_t N> LetterSet setOf(const std::array<int, N>& slots) {
    LetterSet set;
    for (std::size_t i = 1; i < N; ++i)
        if (slots[i] != 0) set.add(slots[i]);
    return set;
}

// Everything one turn looks at, read once at its start.
class Turn {
public:
    Turn(Game& game, const TDictn& spell, const AnagramIndex& words, const LevelStyle& style, Random* random,
         int seat)
        : game_(game), spell_(spell), words_(words), style_(style), random_(random), seat_(seat),
          me_(game.state().seats[seat]), him_(game.state().seats[seat == 1 ? 2 : 1]),
          mine_(game.state().formedwords[seat]), his_(game.state().formedwords[seat == 1 ? 2 : 1]) {
        const GameState& state = game.state();
        stealsLeft_ = me_.stealsused < state.maxsteals;
        hisStealsLeft_ = him_.stealsused < state.maxsteals;
        board_ = setOf(me_.board);
        hand_ = setOf(me_.hand);
        hisBoard_ = setOf(him_.board);
        thinksOfStealing_ = stealsLeft_ && chance(style_.stealPercent);
    }

    int play() {
        std::vector<Option> options = enumerate();
        // Only a seat with no letter in hand or on its board has no move; every turn of a game
        // begins with a full hand.
        if (options.empty()) return 0;
        const int best =
            std::max_element(options.begin(), options.end(), [](const Option& a, const Option& b) {
                return a.points < b.points;
            })->points;
        if (best > 0 && style_.choicePercent > 0) {
            // Every scoring move near the best looks as good to it; enumeration order keeps the
            // draw reproducible.
            std::erase_if(options, [&](const Option& o) {
                return o.points * 100 < best * (100 - style_.choicePercent);
            });
            return carryOut(options[static_cast<std::size_t>((*random_)(static_cast<int>(options.size())))]);
        }
        std::erase_if(options, [&](const Option& o) { return o.points != best; });
        if (best == 0 && options.size() > 1 && !chance(style_.lookaheadPercent)) {
            // Nothing scores and it does not think ahead: every move looks as good as another.
            // None can spoil a word, since a move that makes one would have scored.
            return carryOut(options[static_cast<std::size_t>((*random_)(static_cast<int>(options.size())))]);
        }
        if (options.size() > 1)
            for (Option& o : options)
                weigh(o);
        // Earlier options win full ties: the enumeration order is the last preference.
        const auto chosen =
            std::max_element(options.begin(), options.end(), [](const Option& a, const Option& b) {
                return std::tuple(a.reach, a.bestNext, -a.stealable) <
                       std::tuple(b.reach, b.bestNext, -b.stealable);
            });
        return carryOut(*chosen);
    }

private:
    // True with the given percent; a certain style never draws.
    bool chance(int percent) {
        if (percent >= 100) return true;
        if (percent <= 0) return false;
        return (*random_)(100) < percent;
    }

    std::vector<Option> enumerate() {
        std::vector<Option> options;
        // One representative slot per distinct letter: which copy moves changes nothing.
        std::array<int, 27> handSlot{}, boardSlot{}, hisSlot{};
        for (int h = kHandSlots; h >= 1; --h)
            handSlot[static_cast<std::size_t>(me_.hand[h])] = h;
        for (int b = kBoardSlots; b >= 1; --b)
            boardSlot[static_cast<std::size_t>(me_.board[b])] = b;
        for (int b = kBoardSlots; b >= 1; --b)
            hisSlot[static_cast<std::size_t>(him_.board[b])] = b;
        const auto handCodes = codesOf(hand_);
        const auto boardCodes = codesOf(board_);
        const auto hisCodes = codesOf(hisBoard_);
        const bool roomLeft = board_.size < kBoardSlots;

        auto add = [&](Option o) {
            score(o);
            if (o.kind != Kind::Steal || o.points > 0) options.push_back(std::move(o));
        };
        for (int h : handCodes) {
            const LetterSet hand = hand_.minus(h);
            if (roomLeft) add(option(Kind::Place, handSlot[h], 0, 0, h, 0, board_.plus(h), hand));
            for (int x : boardCodes)
                if (x != h)
                    add(option(Kind::Place, handSlot[h], boardSlot[x], 0, h, x, board_.minus(x).plus(h),
                               hand));
        }
        // The costliest letters are the first to go when nothing else decides.
        auto throwOrder = handCodes;
        std::stable_sort(throwOrder.begin(), throwOrder.end(),
                         [](int a, int b) { return Game::letterworth(a) > Game::letterworth(b); });
        for (int h : throwOrder)
            add(option(Kind::Throw, handSlot[h], 0, 0, 0, 0, board_, hand_.minus(h)));
        for (int x : boardCodes)
            add(option(Kind::Remove, 0, boardSlot[x], 0, 0, x, board_.minus(x), hand_));
        if (thinksOfStealing_) {
            for (int s : hisCodes) {
                if (roomLeft) add(option(Kind::Steal, 0, 0, hisSlot[s], s, 0, board_.plus(s), hand_));
                for (int x : boardCodes)
                    if (x != s)
                        add(option(Kind::Steal, 0, boardSlot[x], hisSlot[s], s, x, board_.minus(x).plus(s),
                                   hand_));
            }
        }
        return options;
    }

    // The first word of these letters that is new for this seat and that the dictionary
    // accepts decides the points; every such word is worth the same.
    void score(Option& o) {
        for (const auto& [letters, word] : scored_) {
            if (letters == o.board) {
                o.word = word;
                o.points = word.empty() ? 0 : pointsOf(letters);
                return;
            }
        }
        std::string word;
        const auto anagrams = words_.find(o.board);
        for (int i = 0; i < anagrams.count; ++i) {
            const auto w = anagrams.word(i);
            if (!scoredIn(mine_, w) && spell_.isword(w)) {
                word = w;
                break;
            }
        }
        scored_.emplace_back(o.board, word);
        o.word = word;
        o.points = word.empty() ? 0 : pointsOf(o.board);
    }

    int newWords(const LetterSet& letters, const std::vector<std::string>& scored,
                 std::string_view also) const {
        const auto anagrams = words_.find(letters);
        int n = 0;
        for (int i = 0; i < anagrams.count; ++i) {
            const auto w = anagrams.word(i);
            if (w != also && !scoredIn(scored, w)) ++n;
        }
        return n;
    }

    // What the board this option leaves offers: the new words one move can make of it next
    // turn with the hand it keeps (and steals, while any remain), and how many of its letters
    // the opponent could steal into a new word of his own.
    void weigh(Option& o) const {
        LetterSet his = hisBoard_;
        if (o.kind == Kind::Steal) his.remove(o.in);
        const bool stealsAfter =
            o.kind == Kind::Steal ? me_.stealsused + 1 < game_.state().maxsteals : stealsLeft_;
        const auto boardCodes = codesOf(o.board);
        const auto handCodes = codesOf(o.hand);
        const auto hisCodes = codesOf(his);

        std::vector<LetterSet> next;
        auto reachable = [&](const LetterSet& s) {
            if (s.size >= 2 && s.size <= AnagramIndex::kMaxLength) next.push_back(s);
        };
        auto withLetter = [&](int in) {
            reachable(o.board.plus(in));
            for (int x : boardCodes)
                if (x != in) reachable(o.board.minus(x).plus(in));
        };
        reachable(o.board);
        for (int h : handCodes)
            withLetter(h);
        for (int x : boardCodes)
            reachable(o.board.minus(x));
        if (stealsAfter)
            for (int s : hisCodes)
                withLetter(s);
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
        for (const auto& s : next) {
            const int n = newWords(s, mine_, o.word);
            if (n == 0) continue;
            o.reach += n;
            o.bestNext = std::max(o.bestNext, pointsOf(s));
        }

        if (!hisStealsLeft_) return;
        for (int x : boardCodes) {
            bool worth = his.size < kBoardSlots && newWords(his.plus(x), his_, {}) > 0;
            for (std::size_t k = 0; !worth && k < hisCodes.size(); ++k)
                worth = hisCodes[k] != x && newWords(his.minus(hisCodes[k]).plus(x), his_, {}) > 0;
            if (worth) o.stealable += o.board.count(x);
        }
    }

    // Lays the board out so that the move leaves the word in slots 1..length, then makes it.
    int carryOut(const Option& o) {
        int refused = 0;
        auto request = [&](bool carried) { refused += carried ? 0 : 1; };
        if (o.word.empty()) {
            switch (o.kind) {
            case Kind::Place:
                request(game_.placemyletter(seat_, o.handSlot, o.boardSlot != 0 ? o.boardSlot : emptySlot()));
                break;
            case Kind::Throw:
                request(game_.discardextra(seat_, o.handSlot));
                break;
            case Kind::Remove:
            case Kind::Steal: // a steal is only ever chosen when it scores
                request(game_.discardletter(seat_, o.boardSlot));
                break;
            }
            return refused;
        }

        const int length = static_cast<int>(o.word.size());
        std::array<int, kBoardSlots + 1> target{};
        for (int p = 1; p <= length; ++p)
            target[static_cast<std::size_t>(p)] = o.word[static_cast<std::size_t>(p - 1)] - 'a' + 1;
        int at = 0;
        if (o.kind == Kind::Place || o.kind == Kind::Steal) {
            // The incoming letter's place holds what it replaces: the overwritten letter or nothing.
            for (at = 1; target[static_cast<std::size_t>(at)] != o.in; ++at) {
            }
            target[static_cast<std::size_t>(at)] = o.out;
        } else if (o.kind == Kind::Remove) {
            at = length + 1;
            target[static_cast<std::size_t>(at)] = o.out;
        }
        for (int p = 1; p <= kBoardSlots; ++p) {
            if (me_.board[p] == target[static_cast<std::size_t>(p)]) continue;
            for (int s = p + 1; s <= kBoardSlots; ++s) {
                if (me_.board[s] == target[static_cast<std::size_t>(p)]) {
                    request(game_.tradingmyletter(seat_, s, p));
                    break;
                }
            }
        }
        switch (o.kind) {
        case Kind::Place:
            request(game_.placemyletter(seat_, o.handSlot, at));
            break;
        case Kind::Throw:
            request(game_.discardextra(seat_, o.handSlot));
            break;
        case Kind::Remove:
            request(game_.discardletter(seat_, at));
            break;
        case Kind::Steal:
            request(game_.stealinghisletter(seat_, o.hisSlot, at));
            break;
        }
        return refused;
    }

    // Where a letter that spells nothing yet goes: just after the last letter, keeping the
    // board together where it can.
    int emptySlot() const {
        int last = 0;
        for (int b = 1; b <= kBoardSlots; ++b)
            if (me_.board[b] != 0) last = b;
        if (last < kBoardSlots) return last + 1;
        for (int b = 1; b <= kBoardSlots; ++b)
            if (me_.board[b] == 0) return b;
        return kBoardSlots;
    }

    Game& game_;
    const TDictn& spell_;
    const AnagramIndex& words_;
    const LevelStyle& style_;
    Random* random_;
    const int seat_;
    const tplayer& me_;
    const tplayer& him_;
    const std::vector<std::string>& mine_;
    const std::vector<std::string>& his_;
    bool stealsLeft_ = false;
    bool hisStealsLeft_ = false;
    bool thinksOfStealing_ = false;
    LetterSet board_, hand_, hisBoard_;
    std::vector<std::pair<LetterSet, std::string>> scored_;
};

} // namespace

StrongPlayer::StrongPlayer(Game& game, const TDictn& spell, const AnagramIndex& words)
    : game_(game), spell_(spell), words_(words) {}

StrongPlayer::StrongPlayer(Game& game, const TDictn& spell, const AnagramIndex& words,
                           const LevelStyle& style, Random* random)
    : game_(game), spell_(spell), words_(words), style_(style), random_(random) {}

int StrongPlayer::play(int seat) {
    const GameState& state = game_.state();
    if ((seat != 1 && seat != 2) || seat != state.currentplayer) return 0;
    if (!style_.certain() && random_ == nullptr) return 0;
    return Turn(game_, spell_, words_, style_, random_, seat).play();
}

void Game::setAnagramIndex(const AnagramIndex& index) {
    anagrams_ = &index;
}

void Game::computerTurn(int seat) {
    if (computerKind_ == ComputerKind::Classic) {
        computerplay(seat);
        return;
    }
    if (computerKind_ == ComputerKind::Strong) {
        if (!anagrams_) anagrams_ = &AnagramIndex::builtin();
        StrongPlayer(*this, spell_, *anagrams_).play(seat);
        return;
    }
    const LevelStyle style = styleOf(computerKind_);
    StrongPlayer(*this, spell_, knownWords(style.knownTier, style.longestWord), style, &random_).play(seat);
}

} // namespace plimb
