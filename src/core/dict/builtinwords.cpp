#include "core/dict/builtinwords.h"

#include <charconv>
#include <string_view>

extern "C" {
extern const char plimb_english_records[];
extern const char plimb_english_records_end[];
extern const char plimb_listbox_words[];
extern const char plimb_listbox_words_end[];
extern const char plimb_word_tiers[];
extern const char plimb_word_tiers_end[];
}

namespace plimb {

std::span<const char> builtinWordRecords() {
    return {plimb_english_records,
            static_cast<std::size_t>(plimb_english_records_end - plimb_english_records)};
}

namespace {

// Calls `use` with every non-empty line of `text`, without its line end.
template <typename Use> void eachLine(std::string_view text, Use use) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        auto line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) use(line);
        start = end + 1;
    }
}

} // namespace

std::vector<std::string> builtinComputerWords() {
    std::vector<std::string> words;
    eachLine({plimb_listbox_words, static_cast<std::size_t>(plimb_listbox_words_end - plimb_listbox_words)},
             [&](std::string_view line) { words.emplace_back(line); });
    return words;
}

std::vector<std::string> builtinTierWords(int maxLevel) {
    std::vector<std::string> words;
    eachLine({plimb_word_tiers, static_cast<std::size_t>(plimb_word_tiers_end - plimb_word_tiers)},
             [&](std::string_view line) {
                 // "word level"
                 const auto blank = line.find(' ');
                 if (blank == std::string_view::npos) return;
                 int level = 0;
                 const auto digits = line.substr(blank + 1);
                 const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), level);
                 if (ec == std::errc() && level <= maxLevel) words.emplace_back(line.substr(0, blank));
             });
    return words;
}

} // namespace plimb
