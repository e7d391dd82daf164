#pragma once
// Requests of the update check on a worker thread of their own. Connecting, sending and
// waiting for the server happen there; the answers and the progress reports come back as
// tasks on the window's thread, so that thread never waits for the server: the dialog
// paints, its buttons answer and the hotkeys keep working while a request runs.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/http_client.h"
#include "platform/window_thread.h"

namespace tastomat {

// The requests as the update check makes them: started, and answered later on the
// window's thread. An answer of nothing is a failed request.
class UpdateRequests {
  public:
    virtual ~UpdateRequests() = default;
    using LengthDone = std::function<void(std::optional<std::int64_t> length)>;
    using BodyDone = std::function<void(std::optional<std::string> body)>;
    virtual void head(const std::string& url, LengthDone done) = 0;
    virtual void get(const std::string& url, HttpProgress progress, BodyDone done) = 0;
    // What is under way is abandoned: neither its progress nor its answer is delivered.
    virtual void cancel() = 0;
};

class HttpWorker final : public UpdateRequests {
  public:
    // The inner client is shared with the workers, and the window's thread too: a worker
    // left running after its request was abandoned keeps them alive, and nothing else,
    // until its request ends.
    HttpWorker(std::shared_ptr<HttpClient> inner, std::shared_ptr<WindowThread> window);
    // Abandons what is under way.
    ~HttpWorker() override;
    HttpWorker(const HttpWorker&) = delete;
    HttpWorker& operator=(const HttpWorker&) = delete;

    // On the window's thread, as are the calls of done and progress.
    void head(const std::string& url, LengthDone done) override;
    // Progress reports are merged while the window's thread is busy: it sees the latest
    // count, never a backlog.
    void get(const std::string& url, HttpProgress progress, BodyDone done) override;
    void cancel() override;

  private:
    struct Request;
    std::shared_ptr<Request> start();

    std::shared_ptr<HttpClient> inner_;
    std::shared_ptr<WindowThread> window_;
    std::shared_ptr<Request> current_;
};

}  // namespace tastomat
