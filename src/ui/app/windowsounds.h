#pragma once
// The window's sounds: the model's sound requests go to one SoundPlayer, made on the first sound
// so that a window that stays silent never touches the audio system.
#include <memory>
#include <string>

#include "core/client/clientsink.h"

namespace plimb {

class SoundPlayer;

class WindowSounds : public SoundSink {
public:
    WindowSounds();
    ~WindowSounds() override;

    SoundPlayer& player();

    void playsounds(const std::string& name) override;
    void playChatter(const std::string& name) override;

private:
    std::unique_ptr<SoundPlayer> player_;
};

} // namespace plimb
