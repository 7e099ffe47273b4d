#pragma once
// The strong computer player's view of the dictionary: every word of 2 to 10 letters (what a
// board can hold), grouped by its letters regardless of order, so "which words use exactly
// these letters?" is one hash probe.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

// A multiset of letter codes 1..26 with at most 15 copies of each: four bits of count per
// letter, a..p in `low`, q..z in `high`. Adding or removing a letter is one addition.
struct LetterSet {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    int size = 0;

    void add(int code) { step(code, +1); }
    void remove(int code) { step(code, -1); }
    LetterSet plus(int code) const {
        LetterSet s = *this;
        s.add(code);
        return s;
    }
    LetterSet minus(int code) const {
        LetterSet s = *this;
        s.remove(code);
        return s;
    }
    int count(int code) const {
        return code <= 16 ? static_cast<int>((low >> shift(code)) & 15u)
                          : static_cast<int>((high >> shift(code)) & 15u);
    }
    bool operator==(const LetterSet&) const = default;
    bool operator<(const LetterSet& o) const { return low != o.low ? low < o.low : high < o.high; }

private:
    static int shift(int code) { return 4 * ((code - 1) % 16); }
    void step(int code, int by) {
        const std::uint64_t one = std::uint64_t{1} << shift(code);
        if (code <= 16)
            low = by > 0 ? low + one : low - one;
        else
            high = by > 0 ? high + one : high - one;
        size += by;
    }
};

class AnagramIndex {
public:
    static constexpr int kMaxLength = 10;

    // The words that share one set of letters: all of the same length, lower case.
    struct Anagrams {
        const char* letters = nullptr;
        int length = 0;
        int count = 0;
        std::string_view word(int i) const {
            return {letters + static_cast<std::ptrdiff_t>(i) * length, static_cast<std::size_t>(length)};
        }
    };

    // Indexes the dictionary's 15-byte records (0x1E, then the word in A..Z padded with blanks).
    // Records of other letters, of fewer than 2 or more than 10 letters are left out; the bytes
    // are copied, so they need not outlive the index.
    static AnagramIndex fromRecords(std::span<const char> records);
    // Indexes words given as text, in either case; the same words are left out.
    static AnagramIndex fromWords(const std::vector<std::string>& words);
    // The index of the built-in dictionary, built at the first call only, so a program that never
    // asks for it never pays for it.
    static const AnagramIndex& builtin();

    // The words made of exactly `letters`; count 0 when there are none.
    Anagrams find(const LetterSet& letters) const;
    std::size_t wordCount() const { return words_; }

private:
    struct Group {
        LetterSet letters;
        std::uint32_t first; // offset of the first word in pool_
        std::uint16_t count;
    };
    void build(std::vector<std::string> words);
    std::size_t slotOf(const LetterSet& letters) const;

    std::vector<Group> groups_;
    std::string pool_;
    // Open addressing: group number + 1, or 0 for a free slot; the size is a power of two.
    std::vector<std::uint32_t> table_;
    std::size_t words_ = 0;
};

} // namespace plimb
