#pragma once
// The start's remaining steps (the eject watch, building the settings window, reading the
// table) wait a moment after the hotkey is armed. They take a hundred milliseconds and more
// on a slow machine, and a hotkey pressed while one runs waits for it: the user who has
// just started the program reaches for the hotkey first. Nor does a step run while the
// badge is up. The message loop asks whether a step may run only when a message has come,
// and nothing need come meanwhile: a timer of the thread's own brings one now and then,
// until the steps are done.
#include <windows.h>

#include <chrono>
#include <functional>

namespace tastomat {

class QuietStart {
  public:
    using Clock = std::chrono::steady_clock;

    // busy: whether the badge is up now. Made on the thread of the message loop that runs
    // the steps, when the hotkey has been armed.
    explicit QuietStart(std::function<bool()> busy,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(300));
    QuietStart(const QuietStart&) = delete;
    QuietStart& operator=(const QuietStart&) = delete;
    ~QuietStart() { finish(); }

    // The loop's question before each step.
    bool allows() const;
    // The steps are done: the timer goes.
    void finish();

  private:
    std::function<bool()> busy_;
    Clock::time_point from_;
    UINT_PTR timer_ = 0;
};

}  // namespace tastomat
