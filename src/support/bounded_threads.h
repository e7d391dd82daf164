#pragma once
// At most so many threads for one kind of work, however often the user asks for it. A
// lookup on a share whose server is out of reach holds its thread until the redirector
// gives up, tens of seconds; a key pressed again and again would otherwise pile such
// threads up without end. A job that finds every thread busy waits in line for the first
// one that frees, and is dropped unrun when its time has passed by then. A thread that has
// finished a job takes the next one in line, and ends when there is none.
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tastomat {

using Deadline = std::chrono::steady_clock::time_point;

class BoundedThreads {
  public:
    // A handle: copies share the threads and the line. Threads co-own what they use, so
    // they may outlive every handle.
    explicit BoundedThreads(std::size_t limit) : state_(std::make_shared<State>(limit)) {}

    // Any thread. Runs job on a thread of its own, or later on the first one that frees;
    // never on the caller's. dropped runs instead of job when the job was still in line at
    // until, or no thread could be made for it; it may run on the caller's thread.
    void run(std::function<void()> job, Deadline until = Deadline::max(),
             const std::function<void()>& dropped = {}) {
        std::vector<Job> expired;
        const bool start = claim_or_queue(job, until, dropped, expired);
        drop(expired);
        if (!start) return;
        try {
            std::thread(serve, state_, std::move(job)).detach();
        } catch (const std::system_error&) {
            {
                const std::lock_guard lock(state_->mutex);
                --state_->busy;
            }
            if (dropped) dropped();
        }
    }

    // Drops, now, every job still in line whose time has passed; for a caller that has
    // stopped waiting for its answers while every thread is held by a job that hangs.
    void drop_expired() {
        std::vector<Job> expired;
        {
            const std::lock_guard lock(state_->mutex);
            state_->take_expired(std::chrono::steady_clock::now(), expired);
        }
        drop(expired);
    }

    // How many threads are running jobs now, and how many jobs wait in line.
    std::size_t threads() const {
        const std::lock_guard lock(state_->mutex);
        return state_->busy;
    }
    std::size_t waiting() const {
        const std::lock_guard lock(state_->mutex);
        return state_->line.size();
    }

  private:
    struct Job {
        std::function<void()> run;
        Deadline until;
        std::function<void()> dropped;
    };

    struct State {
        explicit State(std::size_t max) : limit(max == 0 ? 1 : max) {}
        void take_expired(Deadline now, std::vector<Job>& out) {
            for (auto it = line.begin(); it != line.end();) {
                if (it->until > now) {
                    ++it;
                    continue;
                }
                out.push_back(std::move(*it));
                it = line.erase(it);
            }
        }
        std::mutex mutex;
        const std::size_t limit;
        std::size_t busy = 0;
        std::deque<Job> line;
    };

    // Takes a thread for the job, or, when every thread is busy, puts the job (moved out of
    // job) in line; hands over the jobs whose time in line has passed.
    bool claim_or_queue(std::function<void()>& job, Deadline until,
                        const std::function<void()>& dropped, std::vector<Job>& expired) {
        const std::lock_guard lock(state_->mutex);
        state_->take_expired(std::chrono::steady_clock::now(), expired);
        if (state_->busy < state_->limit) {
            ++state_->busy;
            return true;
        }
        state_->line.push_back({std::move(job), until, dropped});
        return false;
    }

    static void drop(std::vector<Job>& jobs) {
        for (Job& job : jobs)
            if (job.dropped) job.dropped();
    }

    static void serve(const std::shared_ptr<State>& state, std::function<void()> job) {
        for (;;) {
            try {
                job();
            } catch (...) {
                // Nothing escapes a thread; a job reports its own failures.
            }
            std::vector<Job> expired;
            bool done = false;
            {
                const std::lock_guard lock(state->mutex);
                state->take_expired(std::chrono::steady_clock::now(), expired);
                if (state->line.empty()) {
                    --state->busy;
                    done = true;
                } else {
                    job = std::move(state->line.front().run);
                    state->line.pop_front();
                }
            }
            drop(expired);
            if (done) return;
        }
    }

    std::shared_ptr<State> state_;
};

// The threads every drive lookup of the process shares: the tests of a start and the
// names of the drive dialog. Enough for the drives of a usual machine to be asked at once,
// few enough that lookups which hang cannot pile up.
inline constexpr std::size_t kLookupThreadLimit = 6;

inline BoundedThreads& lookup_threads() {
    static BoundedThreads threads(kLookupThreadLimit);
    return threads;
}

}  // namespace tastomat
