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
