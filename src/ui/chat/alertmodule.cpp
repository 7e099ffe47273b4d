// The entry of plimb_alert.so, the module that links the desktop's event sound library: it plays
// the sound theme's "bell" event (desktopalert.h).
#include <canberra.h>

extern "C" __attribute__((visibility("default"))) bool plimb_alert_play_1() {
    // One context for the program's life: connecting to the sound server again for every alert
    // would be slow, and the library plays on a thread of its own.
    static ca_context* context = [] {
        ca_context* made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Plimb", CA_PROP_APPLICATION_ID,
                                "org.plimb.Plimb", nullptr);
        return made;
    }();
    if (context == nullptr) return false;
    return ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Plimb alert",
                           nullptr) == CA_SUCCESS;
}
