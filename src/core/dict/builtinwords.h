#pragma once
// The word lists linked into the program, so the core needs no resource system and no file.
#include <span>
#include <string>
#include <vector>

namespace plimb {

// The dictionary's records (resources/words/english.rec), for TDictn to search in place. The
// bytes live as long as the program.
std::span<const char> builtinWordRecords();

// The computer player's word list listbox_words (resources/words/listbox_words.txt): lower-case
// words in alphabetical order.
std::vector<std::string> builtinComputerWords();

} // namespace plimb

namespace plimb {

// The words of resources/words/word_tiers.txt that scowl lists at size `maxLevel` or below (10
// gives the commonest words only, 50 the largest tier kept): lower case, 2 to 10 letters, all
// accepted by the dictionary, in alphabetical order.
std::vector<std::string> builtinTierWords(int maxLevel);

} // namespace plimb
