#pragma once
// The one application object of a Qt test, made on first use and kept for the whole run.
#include <QApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "support/patience.h"

namespace plimb::test {

// Qt's sound sample cache, a static, waits at exit for its loader thread while it holds the lock
// that thread needs to finish a decode: a test process that ends while a sound is still loading
// hangs. Once every test has run and been reported, the process ends without the static
// destructors.
class EndWithoutStaticDestructors : public ::testing::EmptyTestEventListener {
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        std::fflush(nullptr);
        std::_Exit(unit.Passed() ? 0 : 1);
    }
};

// Always a QApplication: widget tests need one, and it serves the socket and process tests as
// well, so no test binary has two kinds of application to choose between. Qt keeps references to
// argc and argv for the application's life, hence statics. Some runs set no platform (the
// end-to-end tests that start the program, and the discovery of a binary that makes the
// application in its main), so offscreen is the default unless the caller chose one.
inline QApplication& ensureApplication() {
    static QApplication* const app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "plimb_tests";
        static char* argv[] = {name, nullptr};
        ::testing::UnitTest::GetInstance()->listeners().Append(new EndWithoutStaticDestructors);
        return new QApplication(argc, argv); // lives for the whole test run
    }();
    return *app;
}

// One turn of the event loop, and turns until `pred` holds or the patience runs out.
inline void pump() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
template <typename Pred> bool pumpUntil(Pred pred, std::chrono::milliseconds patience = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pump();
    }
    return true;
}

} // namespace plimb::test
