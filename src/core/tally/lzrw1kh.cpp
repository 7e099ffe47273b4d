#include "core/tally/lzrw1kh.h"

#include <array>

namespace plimb {

namespace {

constexpr unsigned char kFlagCompressed = 0x40;
constexpr unsigned char kFlagStored = 0x80;
constexpr std::size_t kMaxRun = 0xFFF;
constexpr std::size_t kMinRun = 16;
constexpr std::size_t kMaxCopy = 18;
constexpr std::size_t kMinCopy = 3;
constexpr std::size_t kWindow = 4096;
constexpr std::string_view kIdentifier = "WRZL";

unsigned char byteAt(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

std::size_t hashAt(std::string_view s, std::size_t x) {
    const std::uint32_t key =
        ((((std::uint32_t{byteAt(s, x)} << 4) ^ byteAt(s, x + 1)) << 4) ^ byteAt(s, x + 2));
    return ((key * 40543u) >> 4) & 0xFFF;
}

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t getLe(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | byteAt(s, at + i);
    return value;
}

} // namespace

const char* const kLzrwSizeError =
    "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";

std::string lzrwHeaderError(std::string_view fileName) {
    return std::string(fileName) + " : Lzrw1 decompression : this file has no valid header !";
}

std::string lzrwCompressChunk(std::string_view src) {
    const std::size_t n = src.size();
    // The loop stops once the output passes n; one step adds at most a control word and a run.
    std::string out(n + 8, '\0');
    auto put = [&out](std::size_t at, unsigned value) { out[at] = static_cast<char>(value & 0xFF); };

    std::array<std::ptrdiff_t, 4096> table;
    table.fill(-1);

    put(0, kFlagCompressed);
    std::size_t x = 0;
    std::size_t y = 3; // next output byte
    std::size_t z = 1; // the current group's control word
    int bit = 0;       // items in the current group
    std::uint16_t command = 0;
    while (x < n && y <= n) {
        if (bit > 15) {
            put(z, command >> 8);
            put(z + 1, command);
            z = y;
            y += 2;
            bit = 0;
        }
        std::size_t run = 1;
        while (x + run < n && src[x + run] == src[x] && run < kMaxRun)
            ++run;
        if (run >= kMinRun) {
            put(y, 0);
            put(y + 1, (run - kMinRun) >> 8);
            put(y + 2, run - kMinRun);
            put(y + 3, byteAt(src, x));
            y += 4;
            x += run;
            command = static_cast<std::uint16_t>((command << 1) | 1);
        } else {
            std::size_t length = 0;
            std::size_t offset = 0;
            // Fewer than three bytes left can never match, whatever the table holds.
            if (x + kMinCopy <= n) {
                const std::size_t h = hashAt(src, x);
                const std::ptrdiff_t p = table[h];
                if (p >= 0 && x - static_cast<std::size_t>(p) < kWindow) {
                    const auto pos = static_cast<std::size_t>(p);
                    while (length < kMaxCopy && x + length < n && src[x + length] == src[pos + length])
                        ++length;
                    offset = x - pos;
                }
                table[h] = static_cast<std::ptrdiff_t>(x);
            }
            if (length >= kMinCopy) {
                const unsigned key = static_cast<unsigned>((offset << 4) + (length - kMinCopy));
                put(y, key >> 8);
                put(y + 1, key);
                y += 2;
                x += length;
                command = static_cast<std::uint16_t>((command << 1) | 1);
            } else {
                put(y, byteAt(src, x));
                y += 1;
                x += 1;
                command = static_cast<std::uint16_t>(command << 1);
            }
        }
        ++bit;
    }
    command = static_cast<std::uint16_t>(bit == 0 ? 0 : command << (16 - bit));
    put(z, command >> 8);
    put(z + 1, command);
    if (y > n) {
        std::string stored(1, static_cast<char>(kFlagStored));
        stored.append(src);
        return stored;
    }
    out.resize(y);
    return out;
}

bool lzrwDecompressChunk(std::string_view block, std::string& out) {
    if (block.empty()) return false;
    const std::size_t start = out.size();
    const std::size_t n = block.size();
    if (byteAt(block, 0) == kFlagStored) {
        if (n - 1 > kLzrwChunkSize) return false;
        out.append(block.substr(1));
        return true;
    }
    if (byteAt(block, 0) != kFlagCompressed || n < 3) return false;

    auto produced = [&] { return out.size() - start; };
    unsigned command = (unsigned{byteAt(block, 1)} << 8) | byteAt(block, 2);
    int bit = 16;
    std::size_t x = 3;
    while (x < n) {
        if (bit == 0) {
            if (x + 2 > n) return false;
            command = (unsigned{byteAt(block, x)} << 8) | byteAt(block, x + 1);
            x += 2;
            bit = 16;
            if (x >= n) return false; // a control word with no item after it
        }
        if ((command & 0x8000) == 0) {
            if (produced() + 1 > kLzrwChunkSize) return false;
            out.push_back(block[x]);
            x += 1;
        } else {
            if (x + 2 > n) return false;
            const std::size_t b0 = byteAt(block, x);
            const std::size_t b1 = byteAt(block, x + 1);
            const std::size_t offset = b0 * 16 + (b1 >> 4);
            if (offset == 0) {
                if (x + 4 > n) return false;
                const std::size_t count = b1 * 256 + byteAt(block, x + 2) + kMinRun;
                if (produced() + count > kLzrwChunkSize) return false;
                out.append(count, block[x + 3]);
                x += 4;
            } else {
                const std::size_t length = (b1 & 15) + kMinCopy;
                if (offset > produced() || produced() + length > kLzrwChunkSize) return false;
                // Byte by byte: a copy may overlap the bytes it produces.
                for (std::size_t k = 0; k < length; ++k)
                    out.push_back(out[out.size() - offset]);
                x += 2;
            }
        }
        command <<= 1;
        --bit;
    }
    return true;
}

std::string lzrwCompress(std::string_view data) {
    std::string out(kIdentifier);
    putLe(out, static_cast<std::uint32_t>(data.size()), 4);
    std::size_t at = 0;
    for (;;) {
        const std::string_view chunk = data.substr(at, kLzrwChunkSize);
        const std::string block = lzrwCompressChunk(chunk);
        putLe(out, static_cast<std::uint32_t>(block.size()), 2);
        out += block;
        at += chunk.size();
        if (chunk.size() < kLzrwChunkSize) break;
    }
    return out;
}

LzrwResult lzrwDecompress(std::string_view file, std::string_view fileName, std::size_t maxLength) {
    LzrwResult result;
    if (file.size() < 8 || file.substr(0, 4) != kIdentifier) {
        result.error = lzrwHeaderError(fileName);
        return result;
    }
    const std::size_t length = getLe(file, 4, 4);
    result.error = kLzrwSizeError;
    if (length > maxLength) return result;

    std::string data;
    std::size_t at = 8;
    for (;;) {
        if (at + 2 > file.size()) return result;
        const std::size_t count = getLe(file, at, 2);
        at += 2;
        if (at + count > file.size()) return result;
        const std::size_t before = data.size();
        if (!lzrwDecompressChunk(file.substr(at, count), data)) return result;
        at += count;
        if (data.size() > length) return result;
        if (data.size() - before < kLzrwChunkSize) break;
    }
    if (data.size() != length) return result;
    result.ok = true;
    result.data = std::move(data);
    result.error.clear();
    return result;
}

} // namespace plimb
