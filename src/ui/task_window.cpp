#include "ui/task_window.h"

#include <deque>
#include <mutex>
#include <utility>

#include "ui/messages.h"
#include "ui/window.h"

namespace tastomat::ui {

// Shared by the window and every worker that may post; the window's handle is cleared
// under the lock when it goes, so a post never reaches a destroyed or reused handle.
class TaskWindow::Queue final : public WindowThread {
  public:
    void post(std::function<void()> task) override {
        const std::lock_guard lock(mutex_);
        if (!window_) return;
        tasks_.push_back(std::move(task));
        // Every post wakes the window: a wake that failed (a full message queue) is made
        // up for by the next one, which finds the earlier task still queued.
        PostMessageW(window_, kRunTasks, 0, 0);
    }

    void open(HWND window) {
        const std::lock_guard lock(mutex_);
        window_ = window;
    }

    std::deque<std::function<void()>> close() {
        const std::lock_guard lock(mutex_);
        window_ = nullptr;
        return std::exchange(tasks_, {});
    }

    std::deque<std::function<void()>> take() {
        const std::lock_guard lock(mutex_);
        return std::exchange(tasks_, {});
    }

  private:
    std::mutex mutex_;
    HWND window_ = nullptr;
    std::deque<std::function<void()>> tasks_;
};

class TaskWindow::Receiver final : private Window {
  public:
    explicit Receiver(Queue& queue) : queue_(queue) {
        create_message_only(L"TastomatTasks");
        queue_.open(hwnd());
    }

    void run_pending() {
        // Taken all at once: a task that posts again is run at the next wake, not in a
        // loop that never lets the window's other messages through.
        for (std::function<void()>& task : queue_.take()) {
            guarded(nullptr, task);
        }
    }

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != kRunTasks) return default_message(msg, wp, lp);
        run_pending();
        return 0;
    }

    Queue& queue_;
};

TaskWindow::TaskWindow()
    : queue_(std::make_shared<Queue>()), receiver_(std::make_unique<Receiver>(*queue_)) {}

TaskWindow::~TaskWindow() {
    // The tasks are destroyed here, on the window's thread, after the lock is let go.
    const auto dropped = queue_->close();
}

std::shared_ptr<WindowThread> TaskWindow::poster() const { return queue_; }

void TaskWindow::run_pending() { receiver_->run_pending(); }

}  // namespace tastomat::ui
