// The start's remaining steps: held back for the wait and while the badge is up, and the
// thread's message loop woken for them although nothing else comes.
#include "app/quiet_start_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>

namespace tastomat {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Waits in the thread's queue, as the program's loop does, until a step may run; the time
// that took, or nothing when no message came to ask by the deadline.
std::optional<milliseconds> loop_until_allowed(const QuietStart& quiet, milliseconds deadline) {
    const auto start = Clock::now();
    const auto end = start + deadline;
    while (!quiet.allows()) {
        const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now());
        if (left.count() <= 0 ||
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()),
                                      QS_ALLINPUT) != WAIT_OBJECT_0)
            return std::nullopt;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

bool timer_message_within(milliseconds time) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    const auto end = Clock::now() + time;
    while (Clock::now() < end) {
        if (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    return false;
}

TEST(QuietStart, StepsWaitForTheMomentAndTheHiddenBadgeAndTheLoopIsWokenForThem) {
    bool badge_up = false;
    QuietStart quiet([&] { return badge_up; }, milliseconds(150));
    EXPECT_FALSE(quiet.allows()) << "at once";

    // Nothing is posted to this thread: only the timer can bring the loop its question.
    const auto waited = loop_until_allowed(quiet, milliseconds(5000));
    ASSERT_TRUE(waited) << "the loop was not woken";
    EXPECT_GE(waited->count(), 140);

    badge_up = true;
    EXPECT_FALSE(quiet.allows()) << "with the badge up";
    badge_up = false;
    EXPECT_TRUE(quiet.allows()) << "hidden again";

    EXPECT_TRUE(timer_message_within(milliseconds(1000))) << "the timer before the steps end";
    quiet.finish();
    EXPECT_FALSE(timer_message_within(milliseconds(300))) << "the timer after the steps end";
}

}  // namespace
}  // namespace tastomat
