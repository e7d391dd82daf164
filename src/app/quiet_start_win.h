#pragma once
// The start's remaining steps wait for a quiet spell (quiet_spell.h). The message loop asks
// whether they may run only when a message has come, and nothing need come while the user
// leaves the program alone: a timer of the thread's own brings one now and then, until the
// steps are done.
#include <windows.h>

#include <chrono>
#include <functional>

#include "app/quiet_spell.h"

namespace tastomat {

class QuietStart {
  public:
    // busy: whether the user is at the launcher now. Made on the thread of the message loop
    // that runs the steps.
    explicit QuietStart(std::function<bool()> busy,
                        std::chrono::milliseconds spell = std::chrono::milliseconds(300));
    QuietStart(const QuietStart&) = delete;
    QuietStart& operator=(const QuietStart&) = delete;
    ~QuietStart() { finish(); }

    // The loop's question before each step.
    bool allows();
    // The steps are done: the timer goes.
    void finish();

  private:
    std::function<bool()> busy_;
    QuietSpell spell_;
    UINT_PTR timer_ = 0;
};

}  // namespace tastomat
