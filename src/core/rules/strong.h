#pragma once
// The strong computer player. Each turn it weighs every turn it could play: any rearrangement
// of its board followed by placing any hand letter (on an empty slot or over a letter),
// removing a board letter, throwing a hand letter away, or stealing while steals remain. Since
// rearranging is free, what a turn leaves is the set of board letters, and it scores when some
// word of exactly those letters is in the dictionary and new for this seat.
//
// It takes the highest score now. Between equal scores it keeps the board from which the most
// new words can be reached next turn, then the one promising the best next word, then the one
// leaving the opponent the fewest letters worth stealing. It needs no chance and draws nothing
// from the shared generator.
//
// The weaker levels use the same search with a LevelStyle: fewer words known, and chance in
// how often they look ahead, think of stealing, and how carefully they choose; those draws come
// from the shared generator.
//
// Like the classic player it acts only through Game's move handlers, as a client's requests
// would: rearrangements first, then exactly one turn-ending move.
#include "core/rules/anagrams.h"
#include "core/rules/levels.h"

namespace plimb {

class Game;
class TDictn;
class Random;

class StrongPlayer {
public:
    // `spell` has the last word on validity: a word of the index that it rejects is never played.
    StrongPlayer(Game& game, const TDictn& spell, const AnagramIndex& words);
    // A level of that style knowing `words`; `random` is needed unless the style is certain.
    StrongPlayer(Game& game, const TDictn& spell, const AnagramIndex& words, const LevelStyle& style,
                 Random* random);

    // Plays the whole turn of `seat`, which must be the current player (otherwise nothing
    // happens). Returns how many of its requests a handler refused: 0, because every request is
    // planned against the board as it stands.
    int play(int seat);

private:
    Game& game_;
    const TDictn& spell_;
    const AnagramIndex& words_;
    LevelStyle style_;
    Random* random_ = nullptr;
};

} // namespace plimb
