#pragma once
// The one QApplication a widget test needs, made on first use and kept for the whole run.
#include <QApplication>

namespace plimb::testing {

inline void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "plimb_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole test run
}

} // namespace plimb::testing
