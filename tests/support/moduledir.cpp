// Linked into every test program that may load a module: the modules of this build tree are
// found there unless a test has named another folder.
#include <cstdlib>

namespace {
const bool kModuleDirSet = ::setenv("PLIMB_MODULE_DIR", PLIMB_BINARY_DIR, 0) == 0;
}
