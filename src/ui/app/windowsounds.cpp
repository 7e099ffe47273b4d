#include "ui/app/windowsounds.h"

#include <QString>

#include "ui/chat/soundplayer.h"

namespace plimb {

WindowSounds::WindowSounds() = default;
WindowSounds::~WindowSounds() = default;

SoundPlayer& WindowSounds::player() {
    if (!player_) player_ = std::make_unique<SoundPlayer>();
    return *player_;
}

void WindowSounds::playsounds(const std::string& name) {
    player().play(QString::fromStdString(name));
}

void WindowSounds::playChatter(const std::string& name) {
    player().play(QString::fromStdString(name));
}

} // namespace plimb
