#pragma once
// Which computer player takes the computer's turns: five levels, weakest first. The host picks
// one; its settings text is the level's lower-case name.
#include <array>
#include <string>
#include <string_view>

namespace plimb {

enum class ComputerKind {
    Beginner, // knows the commonest words only, sees little ahead, rarely steals
    Easy,     // a wider everyday vocabulary, some care about the next turn
    Classic,  // the short-list player that makes one step toward one target word per turn
    Hard,     // the strong player's search over a large vocabulary, with a little chance
    Strong,   // searches every turn it could play against the whole dictionary
};

inline constexpr std::array<ComputerKind, 5> kComputerKinds = {ComputerKind::Beginner, ComputerKind::Easy,
                                                               ComputerKind::Classic, ComputerKind::Hard,
                                                               ComputerKind::Strong};

// "beginner", "easy", "classic", "hard" or "strong".
std::string_view formatComputerKind(ComputerKind kind);

// One of the five names (case and surrounding blanks ignored) gives its level; anything else,
// the empty text of a missing setting included, gives Classic.
ComputerKind parseComputerKind(std::string_view text);

// The level as the menu names it: "Beginner" .. "Strong".
std::string_view computerKindTitle(ComputerKind kind);

// The computer's name in the seat row and the tally. Classic keeps the plain "Klot" that every
// earlier tally counted; the other levels add theirs, "Klot (Easy)", so their wins never mix.
std::string computerName(ComputerKind kind);

} // namespace plimb
