#include "core/chat/colortext.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace plimb {
namespace {

struct NamedColour {
    std::string_view name;
    Colour value;
};

constexpr Colour kSystem = 0x80000000u;
constexpr Colour clNone = 0x1FFFFFFFu;
constexpr Colour clDefault = 0x20000000u;

constexpr std::array<NamedColour, 49> kNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", kSystem | 0},
    {"clBackground", kSystem | 1},
    {"clActiveCaption", kSystem | 2},
    {"clInactiveCaption", kSystem | 3},
    {"clMenu", kSystem | 4},
    {"clWindow", kSystem | 5},
    {"clWindowFrame", kSystem | 6},
    {"clMenuText", kSystem | 7},
    {"clWindowText", kSystem | 8},
    {"clCaptionText", kSystem | 9},
    {"clActiveBorder", kSystem | 10},
    {"clInactiveBorder", kSystem | 11},
    {"clAppWorkSpace", kSystem | 12},
    {"clHighlight", kSystem | 13},
    {"clHighlightText", kSystem | 14},
    {"clBtnFace", kSystem | 15},
    {"clBtnShadow", kSystem | 16},
    {"clGrayText", kSystem | 17},
    {"clBtnText", kSystem | 18},
    {"clInactiveCaptionText", kSystem | 19},
    {"clBtnHighlight", kSystem | 20},
    {"cl3DDkShadow", kSystem | 21},
    {"cl3DLight", kSystem | 22},
    {"clInfoText", kSystem | 23},
    {"clInfoBk", kSystem | 24},
    {"clHotLight", kSystem | 26},
    {"clMenuHighlight", kSystem | 29},
    {"clNone", clNone},
    {"clDefault", clDefault},
}};

// Classic desktop defaults for the system colours, so a line in "clWindowText" still shows.
constexpr std::array<Colour, 31> kSystemDefaults{
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The "$" hexadecimal form or a plain decimal number. No sign and no "0x": a peer's colour in any
// other form is unreadable, and its line shows in red.
std::optional<Colour> parseNumber(std::string_view text) {
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (base == 10 && value > 0x7FFFFFFFull) return std::nullopt;
    if (base == 16 && value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<Colour>(value);
}

} // namespace

std::string colorToString(Colour c) {
    for (const auto& n : kNames)
        if (n.value == c) return std::string(n.name);
    char buf[12];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
    return buf;
}

std::optional<Colour> stringToColor(std::string_view text) {
    for (const auto& n : kNames)
        if (equalsIgnoreCase(n.name, text)) return n.value;
    return parseNumber(text);
}

Colour toPlainRgb(Colour c) {
    if (c == clNone || c == clDefault) return clWhite;
    if (c & kSystem) {
        const auto index = c & 0xFF;
        return index < kSystemDefaults.size() ? kSystemDefaults[index] : clBlack;
    }
    return c & 0xFFFFFF;
}

ChatLine chatrecieved(std::string_view data) {
    const auto bar = data.find('|');
    if (bar == std::string_view::npos) return {std::string(data), clRed};
    const auto colour = stringToColor(data.substr(bar + 1));
    return {std::string(data.substr(0, bar)), colour.value_or(clRed)};
}

} // namespace plimb
