#include "info/http_worker.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

namespace tastomat {
namespace {

// Thrown from the progress report into the inner client to stop a transfer nobody waits
// for any more; caught by the worker.
struct Abandoned {};

// Runs work on a thread of its own; without a thread, runs nothing and calls failed.
void run_detached(std::function<void()> work, const std::function<void()>& failed) {
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        failed();
    }
}

}  // namespace

// What a worker shares with the window's thread; it lives as long as either holds it.
struct HttpWorker::Request {
    // Shared by every request started before the next cancel.
    std::shared_ptr<std::atomic<bool>> abandoned;
    std::atomic<std::int64_t> received{-1};
    // A progress report is on its way to the window's thread and has not run yet.
    std::atomic<bool> report_posted{false};

    bool wanted() const { return !abandoned->load(); }
};

HttpWorker::HttpWorker(std::shared_ptr<HttpClient> inner, std::shared_ptr<WindowThread> window)
    : inner_(std::move(inner)), window_(std::move(window)) {}

HttpWorker::~HttpWorker() { cancel(); }

void HttpWorker::cancel() {
    if (current_) current_->abandoned->store(true);
    current_.reset();
}

std::shared_ptr<HttpWorker::Request> HttpWorker::start() {
    auto request = std::make_shared<Request>();
    request->abandoned =
        current_ ? current_->abandoned : std::make_shared<std::atomic<bool>>(false);
    current_ = request;
    return request;
}

void HttpWorker::head(const std::string& url, LengthDone done) {
    auto request = start();
    auto deliver = [window = window_, request,
                    done = std::move(done)](std::optional<std::int64_t> length) {
        window->post([request, done, length] {
            if (request->wanted()) done(length);
        });
    };
    run_detached(
        [inner = inner_, url, deliver] {
            std::optional<std::int64_t> length;
            try {
                length = inner->head(url);
            } catch (...) {
                // Every failure is the same to the check: no answer.
            }
            deliver(length);
        },
        [&deliver] { deliver(std::nullopt); });
}

void HttpWorker::get(const std::string& url, HttpProgress progress, BodyDone done) {
    auto request = start();
    auto report = std::make_shared<const HttpProgress>(std::move(progress));
    auto deliver = [window = window_, request,
                    done = std::move(done)](std::optional<std::string> body) {
        window->post([request, done, body = std::move(body)]() mutable {
            if (request->wanted()) done(std::move(body));
        });
    };
    run_detached(
        [inner = inner_, window = window_, url, request, report, deliver] {
            std::optional<std::string> body;
            try {
                body = inner->get(url, [&](std::int64_t received) {
                    if (!request->wanted()) throw Abandoned{};
                    request->received.store(received);
                    if (!*report || request->report_posted.exchange(true)) return;
                    window->post([request, report] {
                        // Cleared before the count is read: a report that comes meanwhile
                        // posts again rather than being lost.
                        request->report_posted.store(false);
                        if (request->wanted()) (*report)(request->received.load());
                    });
                });
            } catch (...) {
                // A failed or abandoned transfer: no body.
            }
            deliver(std::move(body));
        },
        [&deliver] { deliver(std::nullopt); });
}

}  // namespace tastomat
