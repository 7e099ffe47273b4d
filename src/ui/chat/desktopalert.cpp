#include "ui/chat/desktopalert.h"

#include "ui/common/modules.h"

namespace plimb {

bool playDesktopAlert() {
    using Play = bool (*)();
    // Kept once found; a module that is not there is looked for again at the next alert, which
    // is rare enough.
    static Play play = nullptr;
    if (play == nullptr)
        play = reinterpret_cast<Play>(moduleEntry("plimb_alert", "plimb_alert_play_1").address);
    return play != nullptr && play();
}

} // namespace plimb
