#include "core/chat/receivedtext.h"

#include <array>
#include <cstdint>

namespace plimb {
namespace {

// The 0x80..0x9F row of Windows-1252; 0 marks the unassigned bytes.
constexpr std::array<char32_t, 32> kHighRow{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool unsafe(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void append(std::string& out, char32_t c) {
    if (unsafe(c)) c = U' ';
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one character of valid UTF-8 at `i` and moves past it.
char32_t nextUtf8(std::string_view s, std::size_t& i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t c = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (b(i + k) & 0x3F);
    i += n;
    return c;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char32_t c = b;
        if (b >= 0x80 && b <= 0x9F) c = kHighRow[b - 0x80] ? kHighRow[b - 0x80] : 0xFFFD;
        append(out, c);
    }
    return out;
}

} // namespace

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        char32_t min = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            n = 2;
            min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            n = 3;
            min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            n = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (s.size() - i < n) return false;
        char32_t c = lead & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto cont = static_cast<unsigned char>(s[i + k]);
            if ((cont & 0xC0) != 0x80) return false;
            c = (c << 6) | (cont & 0x3F);
        }
        // Overlong forms, surrogates and values past the last code point are not UTF-8.
        if (c < min || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
        i += n;
    }
    return true;
}

std::string receivedText(std::string_view bytes) {
    if (!isValidUtf8(bytes)) return windows1252ToUtf8(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();)
        append(out, nextUtf8(bytes, i));
    return out;
}

} // namespace plimb
