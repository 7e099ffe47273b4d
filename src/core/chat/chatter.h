#pragma once
// The twenty chatter sounds: item tag n of the sound menu plays "wave"n and is captioned here.
#include <array>
#include <string_view>

#include "core/net/protocol.h"

namespace plimb {

inline constexpr std::array<std::string_view, 21> kChatterCaptions = {
    "<Cancel>",       "Doh",          "Cough", "Hello",   "Thank You", "Where have you been?",
    "Snoring",        "Sneezing",     "Sorry", "Welcome", "Yeehaa",    "Yippee",
    "Oh No",          "Applause",     "Honk",  "Oooh",    "Razzberry", "Cheer",
    "Woman Laughing", "Man Laughing", "Crying"};

inline constexpr int kChatterCount = kChatterSounds;

} // namespace plimb
