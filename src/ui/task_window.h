#pragma once
// The window's-thread end of WindowThread: a message-only window on the thread that makes
// it runs the tasks posted to it. Any message loop of that thread runs them, a modal
// dialog's or a message box's too, so a task must not assume that no dialog is open.
#include <memory>

#include "platform/window_thread.h"

namespace tastomat::ui {

class TaskWindow {
  public:
    // Made on the thread whose messages will run the tasks.
    TaskWindow();
    // Drops what is still queued: later posts are dropped too.
    ~TaskWindow();
    TaskWindow(const TaskWindow&) = delete;
    TaskWindow& operator=(const TaskWindow&) = delete;

    // What the workers hold.
    std::shared_ptr<WindowThread> poster() const;

    // Runs what is queued now, on the calling thread (the window's); for a caller that
    // must see every task posted so far done before it goes on.
    void run_pending();

  private:
    class Queue;
    class Receiver;
    std::shared_ptr<Queue> queue_;
    std::unique_ptr<Receiver> receiver_;
};

}  // namespace tastomat::ui
