#pragma once
// The sizes of the table and the texts that stand for its people, named once: the messages carry
// seats, slots and letter codes in these ranges, the server keeps them, the client draws them.
#include <string_view>

namespace plimb {

inline constexpr int kBoardSlots = 10;  // board slots 1..10
inline constexpr int kHandSlots = 6;    // hand slots 1..6
inline constexpr int kMaxSeats = 9;     // seats 1 and 2 play, 3 to 9 watch
inline constexpr int kLetterCodes = 26; // letter codes 1..26 are a..z; 0 is no letter

constexpr bool isBoardSlot(int n) {
    return n >= 1 && n <= kBoardSlots;
}
constexpr bool isHandSlot(int n) {
    return n >= 1 && n <= kHandSlots;
}
constexpr bool isPlayerSeat(int n) {
    return n == 1 || n == 2;
}
constexpr bool isSeat(int n) {
    return n >= 1 && n <= kMaxSeats;
}
// A code a slot may show: a letter, or 0 for none.
constexpr bool isLetterCode(int n) {
    return n >= 0 && n <= kLetterCodes;
}

// The letter of a code, 'A'..'Z' (or 'a'..'z'); `none` for 0 and anything out of range.
constexpr char upperLetter(int code, char none = '\0') {
    return code >= 1 && code <= kLetterCodes ? static_cast<char>('A' + code - 1) : none;
}
constexpr char lowerLetter(int code, char none = '\0') {
    return code >= 1 && code <= kLetterCodes ? static_cast<char>('a' + code - 1) : none;
}
// The code of a letter of either case; 0 for anything else.
constexpr int letterCode(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    return 0;
}

// A player seat nobody holds yet shows this name.
inline constexpr std::string_view kWaitingName = "<Waiting>";
// The computer player's name, as it plays the Classic game.
inline constexpr std::string_view kComputerName = "Klot";

} // namespace plimb
