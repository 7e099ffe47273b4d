#include "dict/builtinwords.h"

#include <string_view>

extern "C" {
extern const char plimb_english_records[];
extern const char plimb_english_records_end[];
extern const char plimb_listbox_words[];
extern const char plimb_listbox_words_end[];
}

namespace plimb {

std::span<const char> builtinWordRecords() {
    return {plimb_english_records,
            static_cast<std::size_t>(plimb_english_records_end - plimb_english_records)};
}

std::vector<std::string> builtinComputerWords() {
    const std::string_view text(plimb_listbox_words,
                                static_cast<std::size_t>(plimb_listbox_words_end - plimb_listbox_words));
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        auto line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) words.emplace_back(line);
        start = end + 1;
    }
    return words;
}

} // namespace plimb
