// Requests on a worker thread whose answers come back as tasks on the window's thread: what
// that thread sees, and that an abandoned request ends alone, delivering nothing.
#include "info/http_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "support/fakes.h"

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
        transferred = true;
        return "body of " + url;
    }
    std::atomic<bool> transferred{false};

  private:
    std::shared_ptr<Gate> gate_;
};

// Runs the window's tasks as they come until done says so.
void run_tasks_until(test::QueuedWindowThread& window, const std::function<bool()>& done) {
    for (int posts = 1; !done(); ++posts) {
        ASSERT_TRUE(window.wait_for_posts(posts)) << "no answer came back";
        window.run_pending();
    }
}

TEST(HttpWorkerTest, RequestsRunOffTheWindowsThreadAndAnswerThroughIt) {
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
        auto window = std::make_shared<test::QueuedWindowThread>();
        HttpWorker worker(inner, window);
        std::vector<std::pair<std::int64_t, std::thread::id>> progress;
        std::optional<std::optional<std::string>> answer;  // outer: answered at all
        if (c.head) {
            worker.head("u", [&](std::optional<std::int64_t> length) {
                answer = length ? std::optional(std::to_string(*length)) : std::nullopt;
            });
        } else {
            worker.get(
                "u", [&](std::int64_t n) { progress.emplace_back(n, std::this_thread::get_id()); },
                [&](std::optional<std::string> body) { answer = std::move(body); });
        }
        // The request waits for the server; this thread is free and nothing has answered.
        window->run_pending();
        EXPECT_FALSE(answer.has_value());
        gate->release();
        run_tasks_until(*window, [&] { return answer.has_value(); });

        const std::optional<std::string> expected =
            c.fails ? std::nullopt : std::optional<std::string>(c.head ? "42" : "body of u");
        EXPECT_EQ(*answer, expected);
        EXPECT_NE(inner->ran_on, std::this_thread::get_id());
        if (!c.head) {
            ASSERT_FALSE(progress.empty());
            if (!c.fails) {
                EXPECT_EQ(progress.back().first, 7) << "the last count comes before the body";
            }
            for (const auto& [count, thread] : progress)
                EXPECT_EQ(thread, std::this_thread::get_id()) << count;
        }
    }
}

TEST(HttpWorkerTest, ACancelledRequestDeliversNothingStopsAndLetsGoOfTheClient) {
    for (const bool by_destruction : {false, true}) {
        SCOPED_TRACE(by_destruction ? "worker destroyed" : "cancelled");
        auto gate = std::make_shared<Gate>();
        auto inner = std::make_shared<BlockingHttp>(gate);
        const std::weak_ptr<BlockingHttp> watched = inner;
        auto window = std::make_shared<test::QueuedWindowThread>();
        int delivered = 0;
        {
            HttpWorker worker(inner, window);
            worker.get(
                "u", [&](std::int64_t) { ++delivered; },
                [&](const std::optional<std::string>&) { ++delivered; });
            // The first report is on its way when the user leaves.
            ASSERT_TRUE(window->wait_for_posts(1));
            if (!by_destruction) worker.cancel();
        }
        gate->release();
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (inner.use_count() > 1 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        EXPECT_EQ(inner.use_count(), 1) << "the worker never let go of the client";
        EXPECT_FALSE(inner->transferred) << "the transfer went on after the cancel";
        window->run_pending();
        EXPECT_EQ(delivered, 0);
    }
}

}  // namespace
}  // namespace tastomat
