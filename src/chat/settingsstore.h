#pragma once
// The settings file on disk. Every access opens and releases the file; a save rereads the file,
// changes only the keys it is given and replaces the whole file at once (a temporary file in the
// same folder, then a rename), so a crash or a full disk never leaves half a file behind.
#include <QString>
#include <functional>

#include "chat/inifile.h"

namespace plimb {

class SettingsStore {
public:
    // `path` is asked for on every access: the file's place may change while the program runs.
    explicit SettingsStore(std::function<QString()> path);

    // The file's contents; a missing or unreadable file reads as empty.
    IniFile read() const;
    // Applies `edit` to the current file and writes the result. A file that exists but cannot be
    // read is left alone (writing would lose its other sections); a failed write changes
    // nothing. Returns whether the file was written.
    bool update(const std::function<void(IniFile&)>& edit) const;

private:
    std::function<QString()> path_;
};

} // namespace plimb
