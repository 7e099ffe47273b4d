#pragma once
// Which computer player takes the computer's turns. The host picks it; its settings text is
// "classic" or "strong".
#include <string_view>

namespace plimb {

enum class ComputerKind {
    Classic, // the short-list player that makes one step toward one target word per turn
    Strong,  // searches every turn it could play against the whole dictionary
};

// "classic" or "strong".
std::string_view formatComputerKind(ComputerKind kind);

// "strong" (case and surrounding blanks ignored) gives Strong; anything else, the empty text of
// a missing setting included, gives Classic.
ComputerKind parseComputerKind(std::string_view text);

} // namespace plimb
