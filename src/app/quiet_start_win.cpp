#include "app/quiet_start_win.h"

#include <utility>

namespace tastomat {

QuietStart::QuietStart(std::function<bool()> busy, std::chrono::milliseconds wait)
    : busy_(std::move(busy)), from_(Clock::now() + wait) {
    // Without a window the timer posts WM_TIMER to the thread's queue, and the loop
    // dispatches it to nobody; three times a wait, so that the steps start soon after it.
    timer_ = SetTimer(nullptr, 0, static_cast<UINT>(wait.count() / 3), nullptr);
}

bool QuietStart::allows() const {
    if (busy_()) return false;
    // No timer, no waking: the steps then run as soon as the badge is hidden, rather than
    // wait for a message that may not come.
    return !timer_ || Clock::now() >= from_;
}

void QuietStart::finish() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

}  // namespace tastomat
