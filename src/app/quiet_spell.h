#pragma once
// When the start's remaining work may run. Building the settings window and reading the
// table take a hundred milliseconds and more on a slow machine, and a hotkey pressed while
// they run waits for them. So they wait until the launcher has been left alone for a
// moment: not while the badge is up, nor soon after it was, nor in the first moment after
// the start, when the user who has just started the program reaches for the hotkey.
#include <chrono>

namespace tastomat {

class QuietSpell {
  public:
    using Clock = std::chrono::steady_clock;

    // The first spell begins at start, the moment the hotkey is armed.
    QuietSpell(std::chrono::milliseconds length, Clock::time_point start)
        : length_(length), quiet_from_(start + length) {}

    // Asked whenever the work could run. busy: the user is at the launcher now; a new spell
    // begins then, since each ask while busy moves its start on.
    bool over(bool busy, Clock::time_point now) {
        if (busy) quiet_from_ = now + length_;
        return !busy && now >= quiet_from_;
    }

    // How long after its start a spell is over, for the timer that asks again.
    std::chrono::milliseconds length() const { return length_; }

  private:
    std::chrono::milliseconds length_;
    Clock::time_point quiet_from_;
};

}  // namespace tastomat
