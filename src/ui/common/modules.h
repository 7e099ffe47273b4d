#pragma once
// The parts of the program that need a library a solo game never uses (the client of the LAN
// announcement daemon, the routers' port mapping protocols, the desktop's event sounds) are
// modules of their own, loaded the first time they are needed: a start then pays neither for
// loading those libraries nor for relocating them.
#include <QString>

namespace plimb {

struct ModuleEntry {
    void* address = nullptr; // null when the module or its entry could not be had
    QString error;           // why not, a clause for the player, e.g. "plimb_lan.so is missing"
};

// The function `symbol` of module `name` (e.g. "plimb_lan"). The module is looked for in the
// folder PLIMB_MODULE_DIR names when that is set (the build tree's tests), beside the program
// (the build tree), then in the installed program's private library folder. A module once
// loaded stays for the program's life; one that failed is tried again on the next call. Safe
// from any thread.
ModuleEntry moduleEntry(const char* name, const char* symbol);

} // namespace plimb
