#include "core/rules/levels.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "core/dict/builtinwords.h"
#include "core/rules/anagrams.h"

namespace plimb {

LevelStyle styleOf(ComputerKind kind) {
    // Measured with bench/plimb_simulate: each level against the one below it.
    switch (kind) {
    case ComputerKind::Beginner:
        return {10, 5, 0, 20, 60};
    case ComputerKind::Easy:
        return {10, 6, 50, 20, 50};
    case ComputerKind::Hard:
        return {50, 10, 100, 100, 0};
    case ComputerKind::Classic:
    case ComputerKind::Strong:
        break;
    }
    return {};
}

const AnagramIndex& knownWords(int tier, int longestWord) {
    if (tier == 0) return AnagramIndex::builtin();
    static std::mutex guard;
    static std::map<std::pair<int, int>, AnagramIndex> built;
    const std::lock_guard lock(guard);
    const auto key = std::pair(tier, longestWord);
    auto it = built.find(key);
    if (it == built.end()) {
        auto words = builtinTierWords(tier);
        std::erase_if(words, [&](const std::string& w) { return static_cast<int>(w.size()) > longestWord; });
        it = built.emplace(key, AnagramIndex::fromWords(words)).first;
    }
    return it->second;
}

} // namespace plimb
