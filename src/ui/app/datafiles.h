#pragma once
// Where the program keeps the files that outlive a run (the settings file, the tally file): beside
// the executable when it runs from its build folder or an unpacked folder and that folder can be
// written; in the per-user configuration folder when it runs from an installed prefix (its
// folder is a games/ or bin/ whose prefix's share/ holds its desktop entry), whether or not it could write
// beside itself, or when its folder cannot be written. The folder is looked up on every call,
// so nothing depends on the working folder. The environment variable PLIMB_DATA_DIR, when set,
// names the folder instead.
#include <QString>

namespace plimb {

// The full path of `fileName` in the program's data folder. The folder exists when this returns,
// unless it could not be created; a write there then fails, which callers treat as a lost write.
QString dataFilePath(const QString& fileName);

// The data folder for a program in `programDir`, `userDir` being the per-user configuration
// folder (the rule above, without the environment variable).
QString dataFolder(const QString& programDir, const QString& userDir);

} // namespace plimb
