#pragma once
// How the searching player is made weaker or stronger the way a person is: by the words it
// knows, how often it thinks about the next turn, how often it thinks of stealing, and how
// carefully it picks among the scoring moves it sees. Classic is not one of these: it is its own
// player (Game::computerplay).
#include "core/rules/computerkind.h"

namespace plimb {

class AnagramIndex;

struct LevelStyle {
    // The words it knows: those scowl lists at this size or below (10 the commonest), or 0 for
    // the whole dictionary.
    int knownTier = 0;
    // The longest word it thinks of.
    int longestWord = 10;
    // Percent of the turns without a scoring move in which it weighs what each move leaves for
    // the next turn; in the others it makes any move that keeps its board and hand as useful as
    // a glance shows (never one that spoils a word it could have made).
    int lookaheadPercent = 100;
    // Percent of the turns in which it thinks of stealing at all (while steals remain).
    int stealPercent = 100;
    // Scoring moves worth at least (100 - choicePercent)% of the best it sees are all equally
    // likely; 0 always takes the best.
    int choicePercent = 0;

    // True when the level never draws from the shared generator.
    bool certain() const { return lookaheadPercent == 100 && stealPercent == 100 && choicePercent == 0; }
};

// The style of a searching level; Strong is the whole dictionary without chance.
LevelStyle styleOf(ComputerKind kind);

// The words of a tier (see LevelStyle::knownTier) up to `longestWord` letters, built at the first call for
// that tier and kept for the program's life; tier 0 with 10 letters is the built-in dictionary's index.
const AnagramIndex& knownWords(int tier, int longestWord = 10);

} // namespace plimb
