#include "app/quiet_start_win.h"

#include <utility>

namespace tastomat {

QuietStart::QuietStart(std::function<bool()> busy, std::chrono::milliseconds spell)
    : busy_(std::move(busy)), spell_(spell, QuietSpell::Clock::now()) {
    // Without a window the timer posts WM_TIMER to the thread's queue, which the loop
    // dispatches to nobody; three times a spell, so that the steps start soon after it.
    timer_ = SetTimer(nullptr, 0, static_cast<UINT>(spell.count() / 3), nullptr);
}

bool QuietStart::allows() {
    const bool busy = busy_();
    // No timer, no waking: the steps then run whenever the badge is hidden, as they would
    // without a spell, rather than wait for a message that may not come.
    if (!timer_) return !busy;
    return spell_.over(busy, QuietSpell::Clock::now());
}

void QuietStart::finish() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

}  // namespace tastomat
