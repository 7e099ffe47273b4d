#pragma once
// The settings file on disk. Every access opens and releases the file; a save rereads the file,
// changes only the keys it is given and replaces the whole file at once (a temporary file in the
// same folder, then a rename), so a crash or a full disk never leaves half a file behind; the old
// file (the target, when the name is a link) is replaced, never written into.
#include <QString>
#include <cstddef>
#include <functional>

#include "core/settings/inifile.h"

namespace plimb {

// Settings files are a few hundred bytes; a larger one is not one of ours: it reads as empty and
// is never rewritten.
inline constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

class SettingsStore {
public:
    // `path` is asked for on every access: the file's place may change while the program runs.
    explicit SettingsStore(std::function<QString()> path);

    // The file's contents. A missing or unreadable file reads as empty, and so does anything that
    // is not a regular file (it is never opened, so a FIFO cannot block) or is above the cap.
    IniFile read() const;
    // Applies `edit` to the current file and writes the result. A file that exists but cannot be
    // read, is above the cap or is not a regular file is left alone (writing would lose its other
    // sections, or replace something that is not ours); a failed write changes nothing. Returns
    // whether the file was written.
    bool update(const std::function<void(IniFile&)>& edit) const;

private:
    std::function<QString()> path_;
};

} // namespace plimb
