#pragma once
// Work that must happen when a scope is left, by return or by exception alike, where no
// owner type of its own fits: a flag to lower, a lock to hand back.
#include <utility>

namespace tastomat {

template <typename Action>
class ScopeExit {
  public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

  private:
    Action action_;
};

}  // namespace tastomat
