#pragma once
// The one way a worker hands something back to the thread that owns the windows. A worker
// never touches a window, the table or a dialog itself: it posts a task, and the window's
// thread runs it between two messages, in the order posted. Once the windows are gone,
// tasks are dropped unrun, so a worker that answers late finds nothing freed. Workers
// co-own it (shared_ptr) and may outlive the windows.
#include <functional>

namespace tastomat {

class WindowThread {
  public:
    virtual ~WindowThread() = default;
    // Any thread. Queues the task and returns at once; never runs it on the caller's
    // thread, even when that is the window's.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace tastomat
