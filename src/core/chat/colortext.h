#pragma once
// Colour values and their text form, as they travel on the wire and sit in the settings file.
// A colour is 0x00BBGGRR (red in the low byte). Text form: a colour name such as "clBlack", or
// "$" and eight upper-case hexadecimal digits.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plimb {

using Colour = std::uint32_t;

inline constexpr Colour clBlack = 0x000000;
inline constexpr Colour clMaroon = 0x000080;
inline constexpr Colour clGreen = 0x008000;
inline constexpr Colour clNavy = 0x800000;
inline constexpr Colour clRed = 0x0000FF;
inline constexpr Colour clWhite = 0xFFFFFF;
// Lines the program writes into the chat itself.
inline constexpr Colour kSystemLineColour = 0x83621B;

std::string colorToString(Colour c);
// Accepts a colour name in any letter case (system colour names and clNone included), the "$"
// hexadecimal form or an unsigned decimal number. Anything else fails.
std::optional<Colour> stringToColor(std::string_view text);

// Resolves system colours (high byte 0x80) and clNone/clDefault to a plain 0x00BBGGRR value.
Colour toPlainRgb(Colour c);
inline int redOf(Colour c) {
    return static_cast<int>(toPlainRgb(c) & 0xFF);
}
inline int greenOf(Colour c) {
    return static_cast<int>((toPlainRgb(c) >> 8) & 0xFF);
}
inline int blueOf(Colour c) {
    return static_cast<int>((toPlainRgb(c) >> 16) & 0xFF);
}

// A relayed chat or action line: the text before the first "|" and the colour after it; a
// missing or unreadable colour gives clRed.
struct ChatLine {
    std::string line;
    Colour colour;
};
ChatLine chatrecieved(std::string_view data);

} // namespace plimb
