#pragma once
// Builds word records as the dictionary stores them, for small dictionaries made in tests.
#include <algorithm>
#include <string>
#include <vector>

namespace plimb::test {

// Upper-cases, cuts to 14 letters, sorts by byte value and lays out 15-byte records.
inline std::string makeRecords(std::vector<std::string> words) {
    for (auto& w : words) {
        if (w.size() > 14) w.resize(14);
        for (char& c : w)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        w.resize(14, ' ');
    }
    std::sort(words.begin(), words.end());
    std::string out;
    for (const auto& w : words)
        out += '\x1e' + w;
    return out;
}

} // namespace plimb::test
