#pragma once
// Requests of the update check on a thread of their own: connecting, sending and waiting
// for the server happen there, while the thread that asked waits in its window's message
// loop, so that the dialog paints, its buttons answer and the hotkeys keep working.
#include <memory>
#include <string>

#include "platform/http_client.h"

namespace tastomat {

// The asking thread's side of the wait.
class HttpWaiter {
  public:
    virtual ~HttpWaiter() = default;
    // Something the worker calls from its own thread whenever there is news (progress or
    // the end of the request). It holds what it needs itself: it may be called after the
    // waiter has gone.
    virtual std::function<void()> signal() = 0;
    // Returns once a signal came or other work for the asking thread (window messages)
    // was done. May throw to abandon the request; the worker is then left to end alone.
    virtual void wait() = 0;
};

class HttpWorker final : public HttpClient {
  public:
    // The inner client is shared with the workers: one left running after its request was
    // abandoned keeps it alive, and nothing else, until the request ends.
    HttpWorker(std::shared_ptr<HttpClient> inner, HttpWaiter& waiter);

    std::int64_t head(const std::string& url) override;
    // Progress is reported on the asking thread, between waits.
    std::string get(const std::string& url, const HttpProgress& progress) override;

  private:
    std::shared_ptr<HttpClient> inner_;
    HttpWaiter& waiter_;
};

}  // namespace tastomat
