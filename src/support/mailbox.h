#pragma once
// What workers hand to the thread that owns a window. A worker may answer after the window
// is gone, so the window closes its mailbox when it goes; from then on a delivery is
// dropped and nothing wakes a window that is no longer there. Co-owned by the window and
// every worker that may deliver.
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

namespace tastomat {

template <class T>
class Mailbox {
  public:
    // wake tells the owning thread that there is mail; it is called on the worker's thread
    // and must only queue a notice (a posted message), never do the work.
    explicit Mailbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    void post(T item) {
        const std::lock_guard lock(mutex_);
        if (closed_) return;
        items_.push_back(std::move(item));
        wake_();
    }

    std::optional<T> take() {
        const std::lock_guard lock(mutex_);
        if (items_.empty()) return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        return item;
    }

    void close() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        items_.clear();
    }

  private:
    std::mutex mutex_;
    std::deque<T> items_;
    std::function<void()> wake_;
    bool closed_ = false;
};

}  // namespace tastomat
