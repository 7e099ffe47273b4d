#pragma once
// The desktop's own alert: the sound theme's "bell" event, played by the desktop's event sound
// library through the user's sound server, as other programs' alerts are. That library lives in
// the module plimb_alert.so, loaded by the first alert, so a window that never alerts costs
// nothing.
namespace plimb {

// Starts the alert without waiting for it; false when it cannot be played (no module, no sound
// server, no theme with the event), so the caller can fall back to the toolkit's beep.
bool playDesktopAlert();

} // namespace plimb
