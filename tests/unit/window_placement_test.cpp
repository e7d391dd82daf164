#include <gtest/gtest.h>

#include "ui/corner_placement.h"

namespace tastomat::ui {
namespace {

// A 1920 x 1080 primary monitor with its taskbar at each edge, in the heights Windows 10
// (40 px) and Windows 11 (48 px at 100 %, 72 px at 150 %) give it; a 600 x 640 window.
TEST(WindowPlacementTest, BottomRightOfTheWorkAreaWhereverTheTaskbarSits) {
    struct Case {
        const char* taskbar;
        ScreenRect work_area;
        int width, height;
        ScreenPoint expected;
    };
    const Case cases[] = {
        {"bottom 40", {0, 0, 1920, 1040}, 600, 640, {1304, 400}},
        {"bottom 48", {0, 0, 1920, 1032}, 600, 640, {1304, 392}},
        {"bottom 72", {0, 0, 1920, 1008}, 600, 640, {1304, 368}},
        {"top 40", {0, 40, 1920, 1080}, 600, 640, {1304, 440}},
        {"top 48", {0, 48, 1920, 1080}, 600, 640, {1304, 440}},
        {"top 72", {0, 72, 1920, 1080}, 600, 640, {1304, 440}},
        {"left 40", {40, 0, 1920, 1080}, 600, 640, {1304, 440}},
        {"left 48", {48, 0, 1920, 1080}, 600, 640, {1304, 440}},
        {"left 72", {72, 0, 1920, 1080}, 600, 640, {1304, 440}},
        {"right 72", {0, 0, 1848, 1080}, 600, 640, {1232, 440}},
        // A window taller than the work area keeps its title bar below a top taskbar.
        {"top 72, window too tall", {0, 72, 1024, 768}, 600, 740, {408, 72}},
        // One too wide keeps its left edge right of a taskbar at the left.
        {"left 72, window too wide", {72, 0, 1024, 768}, 1000, 640, {72, 128}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bottom_right_in(c.work_area, c.width, c.height), c.expected) << c.taskbar;
    }
}

}  // namespace
}  // namespace tastomat::ui
