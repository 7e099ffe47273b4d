#include "core/tally/lzrw1kh.h"

#include <gtest/gtest.h>
#include <random>

using namespace plimb;

namespace {

std::string hex(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ' ') continue;
        bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
        ++i;
    }
    return bytes;
}

std::string repeat(std::string_view piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen() & 0xFF);
    return s;
}

// Text-like data: words from a small vocabulary, so that copies and literals both occur.
std::string wordyBytes(std::size_t n, unsigned seed) {
    static const char* const words[] = {"plimb", "tally", "Ann", "0", "1", "\r\n", "steal", "zebra"};
    std::mt19937 gen(seed);
    std::string s;
    while (s.size() < n)
        s += words[gen() % 8];
    s.resize(n);
    return s;
}

const std::string kHeader = "WRZL";
const std::string kName = "/home/ann/plimbtally.tld";

} // namespace

TEST(Lzrw1kh, RoundTripsEverySizeAroundTheChunkBoundary) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 32767u, 32768u, 32769u, 65536u, 100000u}) {
        const std::string inputs[] = {randomBytes(n, static_cast<unsigned>(n)), wordyBytes(n, 7),
                                      std::string(n, 'x'),
                                      repeat("ab", static_cast<int>(n / 2)) + std::string(n % 2, 'z')};
        for (const std::string& data : inputs) {
            const std::string file = lzrwCompress(data);
            const LzrwResult back = lzrwDecompress(file, kName);
            ASSERT_TRUE(back.ok) << n << ": " << back.error;
            EXPECT_EQ(back.data, data) << n;
            const std::size_t blocks = n / kLzrwChunkSize + 1;
            // A chunk never takes more than its bytes, the flag byte and its 2-byte count.
            EXPECT_LE(file.size(), 8 + n + 3 * blocks) << n;
            EXPECT_EQ(file.size() >= 3 && file.substr(file.size() - 3) == hex("01 00 80"),
                      n % kLzrwChunkSize == 0)
                << n << ": only a length that is a multiple of 32768 ends with the empty block";
        }
    }
}

TEST(Lzrw1kh, WritesTheseBytesExactly) {
    struct Case {
        const char* what;
        std::string input;
        std::string file;
    };
    const Case cases[] = {
        {"empty input: header and the empty block", "", kHeader + hex("00000000 0100 80")},
        {"too short to gain: stored", "abc", kHeader + hex("03000000 0400 80616263")},
        {"five equal bytes: one longer than the chunk, stored", "aaaaa",
         kHeader + hex("05000000 0600 80 6161616161")},
        {"six equal bytes: as long as the chunk, kept", "aaaaaa",
         kHeader + hex("06000000 0600 40 4000 61 0012")},
        {"20 equal bytes: one run", std::string(20, 'a'), kHeader + hex("14000000 0700 40 8000 00000461")},
        // The boundaries of each kind of item: the shortest run, one byte short of it, the shortest copy.
        {"16 equal bytes: the shortest run", std::string(16, 'a'),
         kHeader + hex("10000000 0700 40 8000 00000061")},
        {"15 equal bytes: a literal and a copy 1 back, 14 long", std::string(15, 'a'),
         kHeader + hex("0F000000 0600 40 4000 61 001B")},
        {"a copy of 3, the shortest, at the chunk's end", std::string(20, 'a') + "xyzwxyz",
         kHeader + hex("1B000000 0D00 40 8400 00000461 78797A77 0040")},
        {"a copy 6 back, 12 long", "abcdefabcdefabcdef",
         kHeader + hex("12000000 0B00 40 0200 616263646566 0069")},
        {"a second group: its control word sits before its items, shifted to bit 15",
         "abcdefghijklmnopqrst"
         "abcdefghijklmnopqr",
         kHeader + hex("26000000 1B00 40 0000 6162636465666768696A6B6C6D6E6F70 0800 71727374 014F")},
        {"a full chunk of zeros: runs of 4095, a literal, a copy, then the empty block",
         std::string(32768, '\0'),
         kHeader + hex("00800000 2600 40 FF40") + repeat(hex("000FEF00"), 8) + hex("00 0014 0100 80")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lzrwCompress(c.input), c.file) << c.what;
        const LzrwResult back = lzrwDecompress(c.file, kName);
        EXPECT_TRUE(back.ok && back.data == c.input) << c.what;
    }
}

TEST(Lzrw1kh, MalformedFilesGiveTheirErrorText) {
    const std::string sizes = kLzrwSizeError;
    const std::string header = kName + " : Lzrw1 decompression : this file has no valid header !";
    const std::string fullChunk = lzrwCompress(std::string(32768, 'q'));
    const std::string small = lzrwCompress("abcdefabcdefabcdef");
    std::string longer = small;
    longer[4] = 0x13;
    std::string shorter = small;
    shorter[4] = 0x11;
    struct Case {
        const char* what;
        std::string file;
        std::string error;
    };
    const Case cases[] = {
        {"empty file", "", header},
        {"shorter than the header", "WRZL\x01", header},
        {"wrong identifier", "WRZM" + small.substr(4), header},
        {"LZH identifier", "!HZL" + small.substr(4), header},
        {"no block at all", small.substr(0, 8), sizes},
        {"a block cut short", small.substr(0, small.size() - 1), sizes},
        {"block count past the end", small.substr(0, 8) + hex("FF00") + small.substr(10), sizes},
        {"missing final block", fullChunk.substr(0, fullChunk.size() - 3), sizes},
        {"stored length too large", longer, sizes},
        {"stored length too small", shorter, sizes},
        {"huge stored length", kHeader + hex("FFFFFFFF 0100 80"), sizes},
        {"empty block", kHeader + hex("00000000 0000"), sizes},
        {"unknown flag", kHeader + hex("01000000 0200 4161"), sizes},
        {"compressed block without its control word", kHeader + hex("01000000 0200 4080"), sizes},
        {"copy before the start of the output", kHeader + hex("03000000 0500 40 8000 0020"), sizes},
        {"copy item cut off", kHeader + hex("03000000 0400 40 8000 00"), sizes},
        {"run item cut off", kHeader + hex("10000000 0600 40 8000 0000 00"), sizes},
        {"a chunk decoding to more than 32768 bytes",
         kHeader + hex("00900000 2700 40 FF80") + repeat(hex("000FEF00"), 9), sizes},
        {"a stored chunk longer than 32768 bytes",
         kHeader + hex("01800000 0280 80") + std::string(32769, 'a'), sizes},
        {"a control word with no item after it",
         kHeader + hex("10000000 1500 40 0000") + std::string(16, 'a') + hex("0000"), sizes},
    };
    for (const Case& c : cases) {
        const LzrwResult r = lzrwDecompress(c.file, kName);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.error, c.error) << c.what;
    }
}

TEST(Lzrw1kh, DamagedFilesNeverCrashAndNeverPassWithTheWrongLength) {
    const std::string good = lzrwCompress(wordyBytes(70000, 3));
    std::mt19937 gen(11);
    for (int trial = 0; trial < 3000; ++trial) {
        std::string bad = good;
        const int flips = 1 + static_cast<int>(gen() % 4);
        for (int i = 0; i < flips; ++i)
            bad[gen() % bad.size()] = static_cast<char>(gen() & 0xFF);
        if (trial % 5 == 0) bad.resize(gen() % bad.size());
        const LzrwResult r = lzrwDecompress(bad, kName);
        if (r.ok) {
            std::size_t announced = 0;
            for (int i = 7; i >= 4; --i)
                announced = announced << 8 | static_cast<unsigned char>(bad[static_cast<std::size_t>(i)]);
            EXPECT_EQ(r.data.size(), announced);
        } else
            EXPECT_FALSE(r.error.empty());
    }
}
