// Requests on a worker thread while the asking thread waits: what the asking thread sees,
// and that an abandoned request ends alone without touching what the asker left behind.
#include "info/http_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tastomat {
namespace {

using namespace std::chrono_literals;

// A gate the test opens; the inner client's requests block on it.
struct Gate {
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
    void release() {
        const std::lock_guard<std::mutex> hold(lock);
        open = true;
        changed.notify_all();
    }
    void pass() {
        std::unique_lock<std::mutex> hold(lock);
        ASSERT_TRUE(changed.wait_for(hold, 30s, [this] { return open; })) << "never released";
    }
};

class BlockingHttp final : public HttpClient {
  public:
    explicit BlockingHttp(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
    std::thread::id ran_on;
    bool fails = false;

    std::int64_t head(const std::string&) override {
        ran_on = std::this_thread::get_id();
        gate_->pass();
        if (fails) throw HttpError("refused");
        return 42;
    }
    std::string get(const std::string& url, const HttpProgress& progress) override {
        ran_on = std::this_thread::get_id();
        progress(3);
        gate_->pass();
        if (fails) throw HttpError("refused");
        progress(7);
        return "body of " + url;
    }

  private:
    std::shared_ptr<Gate> gate_;
};

struct Abandoned {};

// Counts its waits and runs the test's step at each; waits for the worker's signal.
class FakeWaiter final : public HttpWaiter {
  public:
    std::function<void(int)> at_wait;
    int waits = 0;

    std::function<void()> signal() override {
        auto state = state_;
        return [state] {
            const std::lock_guard<std::mutex> hold(state->lock);
            ++state->signals;
            state->changed.notify_all();
        };
    }
    void wait() override {
        if (at_wait) at_wait(waits);
        ++waits;
        std::unique_lock<std::mutex> hold(state_->lock);
        state_->changed.wait_for(hold, 10ms, [&] { return state_->signals != seen_; });
        seen_ = state_->signals;
    }

  private:
    struct State {
        std::mutex lock;
        std::condition_variable changed;
        int signals = 0;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    int seen_ = 0;
};

TEST(HttpWorkerTest, RequestsRunOffTheAskingThreadWhichKeepsWaitingInItsLoop) {
    struct Case {
        const char* what;
        bool head;
        bool fails;
    };
    for (const Case& c : {Case{"GET with progress", false, false}, Case{"HEAD", true, false},
                          Case{"GET refused", false, true}, Case{"HEAD refused", true, true}}) {
        SCOPED_TRACE(c.what);
        auto gate = std::make_shared<Gate>();
        auto inner = std::make_shared<BlockingHttp>(gate);
        inner->fails = c.fails;
        FakeWaiter waiter;
        // The asking thread goes round its loop a few times before the server answers.
        waiter.at_wait = [&](int n) {
            if (n == 3) gate->release();
        };
        HttpWorker worker(inner, waiter);
        std::vector<std::pair<std::int64_t, std::thread::id>> progress;
        const auto ask = [&] {
            if (c.head) return std::to_string(worker.head("u"));
            return worker.get(
                "u", [&](std::int64_t n) { progress.emplace_back(n, std::this_thread::get_id()); });
        };
        if (c.fails) {
            EXPECT_THROW(ask(), HttpError);
        } else {
            EXPECT_EQ(ask(), c.head ? "42" : "body of u");
        }
        EXPECT_GE(waiter.waits, 4);
        EXPECT_NE(inner->ran_on, std::this_thread::get_id());
        if (!c.head) {
            ASSERT_FALSE(progress.empty());
            EXPECT_EQ(progress.front().first, 3);
            if (!c.fails) {
                EXPECT_EQ(progress.back().first, 7);
            }
            for (const auto& [count, thread] : progress)
                EXPECT_EQ(thread, std::this_thread::get_id()) << count;
        }
    }
}

TEST(HttpWorkerTest, AnAbandonedRequestEndsAloneAndLetsGoOfTheClientAfterwards) {
    auto gate = std::make_shared<Gate>();
    auto inner = std::make_shared<BlockingHttp>(gate);
    const std::weak_ptr<BlockingHttp> watched = inner;
    {
        auto waiter = std::make_unique<FakeWaiter>();
        waiter->at_wait = [](int n) {
            if (n == 1) throw Abandoned{};
        };
        HttpWorker worker(std::move(inner), *waiter);
        EXPECT_THROW(worker.get("u", [](std::int64_t) {}), Abandoned);
    }
    // The asker, its waiter and its worker are gone; the request is still under way.
    EXPECT_FALSE(watched.expired());
    gate->release();
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!watched.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(watched.expired()) << "the worker never let go of the client";
}

}  // namespace
}  // namespace tastomat
