#pragma once
// Where the program keeps the files that outlive a run (the settings file, the tally file): beside
// the executable when that folder can be written, else in the per-user configuration folder. The
// folder is looked up on every call, so nothing depends on the working folder. The environment
// variable PLIMB_DATA_DIR, when set, names the folder instead.
#include <QString>

namespace plimb {

// The full path of `fileName` in the program's data folder. The folder exists when this returns,
// unless it could not be created; a write there then fails, which callers treat as a lost write.
QString dataFilePath(const QString& fileName);

} // namespace plimb
