#include "support/bounded_jobs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tastomat {
namespace {

using namespace std::chrono;

// Holds the jobs that never answer until their case is over: a worker must not outlive
// the test by more than its case, and even a forgotten gate lets go after a while.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;

    void wait() {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, seconds(30), [&] { return open; });
    }
    void release() {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

TEST(BoundedJobs, AnswersAreKeptUpToTheDeadlineOrUpToTheLimitOfAJobThatIsWaitedOut) {
    enum class Reply { at_once, throws, late, never };
    // Far enough apart that a busy machine (or ThreadSanitizer) keeps them in order.
    constexpr milliseconds kDeadline{300};
    constexpr milliseconds kLateAnswer{600};  // after the deadline, before the limit's end
    constexpr milliseconds kLimit{900};       // past the deadline
    enum class Returns { before_deadline, at_deadline, after_late_answer, at_limit };
    struct Case {
        const char* what;
        std::vector<Reply> replies;
        std::vector<bool> waited_out;
        std::vector<std::optional<int>> answers;
        Returns returns;
    };
    const Case cases[] = {
        {"all answer at once: the deadline is not waited for",
         {Reply::at_once, Reply::at_once},
         {},
         {0, 1},
         Returns::before_deadline},
        {"a job that throws has no answer",
         {Reply::at_once, Reply::throws, Reply::at_once},
         {},
         {0, std::nullopt, 2},
         Returns::before_deadline},
        {"a job that never answers is unanswered at the deadline",
         {Reply::never, Reply::at_once},
         {},
         {std::nullopt, 1},
         Returns::at_deadline},
        {"a late answer is dropped",
         {Reply::at_once, Reply::late},
         {},
         {0, std::nullopt},
         Returns::at_deadline},
        {"a waited-out job's late answer is waited for and kept",
         {Reply::at_once, Reply::late},
         {false, true},
         {0, 1},
         Returns::after_late_answer},
        {"a waited-out job that never answers is unanswered at the limit",
         {Reply::at_once, Reply::never},
         {false, true},
         {0, std::nullopt},
         Returns::at_limit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto gate = std::make_shared<Gate>();
        const auto asked = steady_clock::now();
        std::vector<std::function<int()>> jobs;
        for (std::size_t i = 0; i < c.replies.size(); ++i) {
            const int answer = static_cast<int>(i);
            jobs.emplace_back([reply = c.replies[i], answer, gate, late = asked + kLateAnswer]() {
                if (reply == Reply::throws) throw std::runtime_error("no answer");
                if (reply == Reply::late) std::this_thread::sleep_until(late);
                if (reply == Reply::never) gate->wait();
                return answer;
            });
        }
        const auto answers = run_until(std::move(jobs), asked + kDeadline, c.waited_out,
                                       BoundedThreads(c.replies.size()), kLimit);
        const auto waited = steady_clock::now() - asked;
        gate->release();

        EXPECT_EQ(answers, c.answers);
        // No upper bound is tight: a loaded machine is late, never early.
        switch (c.returns) {
            case Returns::before_deadline:
                EXPECT_LT(waited, kDeadline);
                break;
            case Returns::at_deadline:
                EXPECT_GE(waited, kDeadline);
                EXPECT_LT(waited, kDeadline + kLimit);
                break;
            case Returns::after_late_answer:
                EXPECT_GE(waited, kLateAnswer);
                EXPECT_LT(waited, kDeadline + kLimit);
                break;
            case Returns::at_limit:
                EXPECT_GE(waited, kDeadline + kLimit);
                EXPECT_LT(waited, kDeadline + kLimit + seconds(5));
                break;
        }
    }
}

// One job per drive letter, each answering at once and waited out: the pattern under which
// an answer that beat its own count once held the caller for good.
// A thread start costs about a millisecond under Wine, fifty times what it costs natively:
// the Windows build makes fewer calls, the native builds (one of them ThreadSanitizer's) the
// full number.
#ifdef _WIN32
constexpr int kCalls = 300;
#else
constexpr int kCalls = 2000;
#endif
constexpr std::size_t kJobs = 26;
// Ends of their own, so that a hang fails here, by name, and not by the test runner's.
constexpr seconds kCallDeadline{10};
constexpr seconds kTestDeadline{60};

TEST(BoundedJobs, ManyCallsWhoseJobsAllAnswerAtOnceNeverHang) {
    // Everything the calls touch is the thread's own: a hung thread is left behind safely.
    auto outcome = std::make_shared<std::promise<std::string>>();
    auto finished = outcome->get_future();
    std::thread([outcome] {
        std::string fault;
        for (int call = 0; call < kCalls && fault.empty(); ++call) {
            std::vector<std::function<int()>> jobs;
            for (std::size_t i = 0; i < kJobs; ++i) jobs.emplace_back([i] { return int(i); });
            const auto asked = steady_clock::now();
            // Fewer threads than jobs, as for the drives of a start: the rest wait in line.
            const auto answers =
                run_until(std::move(jobs), asked + kCallDeadline, std::vector<bool>(kJobs, true),
                          BoundedThreads(kLookupThreadLimit));
            if (steady_clock::now() - asked >= kCallDeadline)
                fault = "call " + std::to_string(call) + " waited past its deadline";
            for (std::size_t i = 0; i < kJobs && fault.empty(); ++i)
                if (answers[i] != int(i))
                    fault = "call " + std::to_string(call) + " lost job " + std::to_string(i);
        }
        outcome->set_value(fault);
    }).detach();

    ASSERT_EQ(finished.wait_for(kTestDeadline), std::future_status::ready)
        << "run_until hung: " << kCalls << " calls of " << kJobs
        << " jobs that answer at once did not end within " << kTestDeadline.count() << " s";
    EXPECT_EQ(finished.get(), "");
}

}  // namespace
}  // namespace tastomat
