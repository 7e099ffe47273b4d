#include "core/rules/anagrams.h"

#include <algorithm>

#include "core/dict/builtinwords.h"

namespace plimb {

namespace {

constexpr std::size_t kRecordSize = 15;

// Lower case a..z of 2..10 letters, or empty when the word cannot stand on a board.
std::string boardWord(std::string_view text) {
    if (text.size() < 2 || text.size() > AnagramIndex::kMaxLength) return {};
    std::string word(text);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c < 'a' || c > 'z') return {};
    }
    return word;
}

LetterSet lettersOf(std::string_view word) {
    LetterSet set;
    for (char c : word)
        set.add(c - 'a' + 1);
    return set;
}

} // namespace

AnagramIndex AnagramIndex::fromRecords(std::span<const char> records) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at + kRecordSize <= records.size(); at += kRecordSize) {
        std::string_view text(records.data() + at + 1, kRecordSize - 1);
        const auto last = text.find_last_not_of(' ');
        if (last == std::string_view::npos) continue;
        auto word = boardWord(text.substr(0, last + 1));
        if (!word.empty()) words.push_back(std::move(word));
    }
    AnagramIndex index;
    index.build(std::move(words));
    return index;
}

AnagramIndex AnagramIndex::fromWords(const std::vector<std::string>& words) {
    std::vector<std::string> kept;
    for (const auto& w : words) {
        auto word = boardWord(w);
        if (!word.empty()) kept.push_back(std::move(word));
    }
    AnagramIndex index;
    index.build(std::move(kept));
    return index;
}

const AnagramIndex& AnagramIndex::builtin() {
    static const AnagramIndex index = fromRecords(builtinWordRecords());
    return index;
}

void AnagramIndex::build(std::vector<std::string> words) {
    std::vector<std::pair<LetterSet, std::string>> keyed;
    keyed.reserve(words.size());
    for (auto& w : words)
        keyed.emplace_back(lettersOf(w), std::move(w));
    std::vector<std::string>().swap(words);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first == b.first ? a.second < b.second : a.first < b.first;
    });
    keyed.erase(std::unique(keyed.begin(), keyed.end(),
                            [](const auto& a, const auto& b) { return a.second == b.second; }),
                keyed.end());

    for (const auto& [letters, word] : keyed) {
        if (groups_.empty() || !(groups_.back().letters == letters))
            groups_.push_back({letters, static_cast<std::uint32_t>(pool_.size()), 0});
        ++groups_.back().count;
        pool_ += word;
    }
    words_ = keyed.size();

    std::size_t size = 16;
    while (size < groups_.size() * 2)
        size *= 2;
    table_.assign(size, 0);
    for (std::size_t g = 0; g < groups_.size(); ++g)
        table_[slotOf(groups_[g].letters)] = static_cast<std::uint32_t>(g + 1);
}

std::size_t AnagramIndex::slotOf(const LetterSet& letters) const {
    const std::size_t mask = table_.size() - 1;
    std::uint64_t h = letters.low * 0x9E3779B97F4A7C15ull ^ letters.high * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 31;
    std::size_t slot = static_cast<std::size_t>(h) & mask;
    while (table_[slot] != 0 && !(groups_[table_[slot] - 1].letters == letters))
        slot = (slot + 1) & mask;
    return slot;
}

AnagramIndex::Anagrams AnagramIndex::find(const LetterSet& letters) const {
    if (table_.empty() || letters.size < 2 || letters.size > kMaxLength) return {};
    const std::uint32_t g = table_[slotOf(letters)];
    if (g == 0) return {};
    const Group& group = groups_[g - 1];
    return {pool_.data() + group.first, letters.size, group.count};
}

} // namespace plimb
