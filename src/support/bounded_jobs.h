#pragma once
// Work that can hang for as long as a network drive whose server is out of reach makes it
// (the redirector gives up only after tens of seconds), done on workers of its own under
// one deadline. A job that has not answered by then counts as unanswered and its late
// answer is dropped. A worker touches only what its job captured and the answers it shares
// with the caller, which it co-owns, so a caller that has moved on leaves it nothing freed.
// The workers are drawn from a bounded set (support/bounded_threads.h): a job that gets none
// by the deadline is unanswered.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "support/bounded_threads.h"

namespace tastomat {

// How long the user waits for drives that may not answer: the existence tests of one
// start, or the names of the drives in the drive dialog, all of them together.
inline constexpr std::chrono::milliseconds kDriveDeadline{1000};

// How long a job marked waited-out is waited for past the deadline. A local disk waking
// from standby answers within seconds; one that is dying, or a drive that never wakes,
// must not hold the search for good, so past this its answer counts as not there.
inline constexpr std::chrono::seconds kWaitedOutLimit{30};

// Runs every job on a thread of `threads` and returns, in the jobs' order, each answer given
// before the deadline; nullopt for a job that had not answered, threw, or got no thread by
// the deadline.
// A job marked in waited_out is waited for past the deadline, up to kWaitedOutLimit more:
// it asks something that is slow at worst, and dropping its answer would give a wrong
// result. Returns as soon as every job has answered. A job must capture only what it owns.
// The limit is a parameter so that its end can be shown without waiting the real one out.
template <class T>
std::vector<std::optional<T>> run_until(
    std::vector<std::function<T()>> jobs, Deadline deadline, std::vector<bool> waited_out,
    BoundedThreads threads = lookup_threads(),
    std::chrono::steady_clock::duration waited_out_limit = kWaitedOutLimit) {
    struct Answers {
        std::mutex mutex;
        std::condition_variable answered;
        std::vector<std::optional<T>> values;
        std::size_t pending = 0;
        std::size_t pending_waited_out = 0;
        bool past_deadline = false;
        bool given_up = false;
    };
    waited_out.resize(jobs.size(), false);
    auto answers = std::make_shared<Answers>();
    answers->values.resize(jobs.size());
    // Counted in full before the first worker starts: a worker that answers at once must
    // find its job already counted, or the count never comes back to zero.
    answers->pending = jobs.size();
    for (const bool waited : waited_out) answers->pending_waited_out += waited ? 1 : 0;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const bool waited = waited_out[i];
        auto answer = [answers, i, waited](std::optional<T> value) {
            const std::lock_guard lock(answers->mutex);
            const bool in_time = !answers->past_deadline || (waited && !answers->given_up);
            if (in_time && value) answers->values[i] = std::move(value);
            --answers->pending;
            if (waited) --answers->pending_waited_out;
            answers->answered.notify_all();
        };
        threads.run(
            [answer, job = std::move(jobs[i])] {
                std::optional<T> value;
                try {
                    value = job();
                } catch (...) {
                    // An answer that could not be had is no answer.
                }
                answer(std::move(value));
            },
            deadline, [answer] { answer(std::nullopt); });
    }
    std::unique_lock lock(answers->mutex);
    answers->answered.wait_until(lock, deadline, [&] { return answers->pending == 0; });
    answers->past_deadline = true;
    if (answers->pending != 0) {
        // Jobs still in line for a thread are dropped now rather than when one frees.
        lock.unlock();
        threads.drop_expired();
        lock.lock();
    }
    answers->answered.wait_until(lock, deadline + waited_out_limit,
                                 [&] { return answers->pending_waited_out == 0; });
    answers->given_up = true;
    return answers->values;
}

template <class T>
std::vector<std::optional<T>> run_until(std::vector<std::function<T()>> jobs, Deadline deadline) {
    return run_until(std::move(jobs), deadline, std::vector<bool>{});
}

}  // namespace tastomat
