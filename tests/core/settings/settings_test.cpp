#include "core/settings/settings.h"

#include <climits>
#include <gtest/gtest.h>

namespace plimb {
namespace {

TEST(FitToDesktop, KeepsBoundsWhollyOnTheWorkAreaAndOtherwiseTheDefaultsFittedIntoIt) {
    const WindowBounds defaults{3, 3, 734, 540};
    const DesktopRect hd{0, 0, 1920, 1080};
    const DesktopRect rightOfIt{1920, 24, 1280, 1000}; // a second screen, under a panel
    const struct {
        WindowBounds stored;
        DesktopRect area;
        WindowBounds expected;
    } rows[] = {
        {{0, 0, 1920, 1080}, hd, {0, 0, 1920, 1080}},       // exactly the work area
        {{1820, 980, 100, 100}, hd, {1820, 980, 100, 100}}, // touching the right and bottom edges
        {{1821, 980, 100, 100}, hd, defaults},              // one pixel over on each side
        {{1820, 981, 100, 100}, hd, defaults},
        {{-1, 0, 100, 100}, hd, defaults},
        {{0, -1, 100, 100}, hd, defaults},
        {{3, 3, 100000, 100000}, hd, defaults},           // huge
        {{INT_MAX, INT_MAX - 9, 734, 540}, hd, defaults}, // edges that would wrap round
        {{10, 10, 0, 100}, hd, defaults},                 // no width
        {{10, 10, 100, -5}, hd, defaults},                // a negative height
        {{2000, 100, 734, 540}, rightOfIt, {2000, 100, 734, 540}},
        {{-5, 0, 10, 10}, rightOfIt, {1920, 24, 734, 540}},       // the defaults moved onto the screen
        {{0, 0, 1920, 1080}, {0, 0, 640, 480}, {0, 0, 640, 480}}, // a desktop smaller than the defaults
        {{9, 9, 900, 100}, {0, 0, 700, 600}, {0, 3, 700, 540}},
        {{10, 10, 300, 200}, {0, 0, 0, 0}, defaults}, // no desktop known
    };
    for (const auto& row : rows) {
        const WindowBounds& s = row.stored;
        EXPECT_EQ(fitToDesktop(s, row.area), row.expected)
            << s.left << "," << s.top << " " << s.width << "x" << s.height;
    }
}

} // namespace
} // namespace plimb
