#include "ui/task_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace tastomat::ui {
namespace {

// Runs this thread's messages until done says so or two seconds have passed.
template <typename Done>
bool pump_until(Done done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < until) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

TEST(TaskWindow, TasksFromWorkersRunOnTheWindowsThreadInOrderAndNotAfterItIsGone) {
    std::vector<int> ran;
    std::vector<DWORD> threads;
    std::shared_ptr<WindowThread> poster;
    {
        TaskWindow tasks;
        poster = tasks.poster();
        std::thread worker([&] {
            for (int i = 0; i < 3; ++i)
                poster->post([&, i] {
                    ran.push_back(i);
                    threads.push_back(GetCurrentThreadId());
                });
        });
        worker.join();
        // Posted, not run: the worker never runs a task itself.
        EXPECT_TRUE(ran.empty());
        ASSERT_TRUE(pump_until([&] { return ran.size() == 3; }));
        EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
        for (DWORD t : threads) EXPECT_EQ(t, GetCurrentThreadId());
        poster->post([&] { ran.push_back(3); });
    }
    // The queued task went with the window, and a late post finds nothing to wake.
    poster->post([&] { ran.push_back(4); });
    pump_until([] { return false; });
    EXPECT_EQ(ran.size(), 3u);
}

}  // namespace
}  // namespace tastomat::ui
