#include "info/http_worker.h"

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace tastomat {
namespace {

// What the asking thread and the worker share; it lives as long as either holds it.
struct Job {
    std::mutex lock;
    bool done = false;
    std::string body;
    std::int64_t length = -1;
    std::exception_ptr error;
    std::atomic<std::int64_t> received{-1};
};

// Runs one request on a new thread and waits for it; returns the job once it has ended.
std::shared_ptr<Job> run(const std::shared_ptr<HttpClient>& inner, HttpWaiter& waiter,
                         std::function<void(HttpClient&, Job&, const std::function<void()>&)> work,
                         const HttpProgress& progress) {
    auto job = std::make_shared<Job>();
    std::function<void()> signal = waiter.signal();
    std::thread([job, inner, signal, work = std::move(work)] {
        std::exception_ptr error;
        try {
            work(*inner, *job, signal);
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> hold(job->lock);
            job->error = error;
            job->done = true;
        }
        signal();
    }).detach();

    std::int64_t reported = -1;
    for (;;) {
        bool done = false;
        {
            const std::lock_guard<std::mutex> hold(job->lock);
            done = job->done;
        }
        const std::int64_t received = job->received.load();
        if (progress && received != reported) {
            reported = received;
            progress(received);
        }
        if (done) break;
        waiter.wait();
    }
    if (job->error) std::rethrow_exception(job->error);
    return job;
}

}  // namespace

HttpWorker::HttpWorker(std::shared_ptr<HttpClient> inner, HttpWaiter& waiter)
    : inner_(std::move(inner)), waiter_(waiter) {}

std::int64_t HttpWorker::head(const std::string& url) {
    const auto job = run(
        inner_, waiter_,
        [url](HttpClient& http, Job& job, const std::function<void()>&) {
            job.length = http.head(url);
        },
        nullptr);
    return job->length;
}

std::string HttpWorker::get(const std::string& url, const HttpProgress& progress) {
    const auto job = run(
        inner_, waiter_,
        [url](HttpClient& http, Job& job, const std::function<void()>& signal) {
            job.body = http.get(url, [&job, &signal](std::int64_t received) {
                job.received.store(received);
                signal();
            });
        },
        progress);
    return std::move(job->body);
}

}  // namespace tastomat
