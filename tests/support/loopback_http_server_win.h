#pragma once
// A small HTTP/1.1 server on 127.0.0.1 at a port the system picks, run on a thread of the
// test, for the HTTP client's tests: one request per connection, answered as the test's
// handler says, or never answered at all.
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tastomat::test {

struct LoopbackRequest {
    std::string method, path;
    std::map<std::string, std::string> headers;  // names in lower case
};

struct LoopbackReply {
    int status = 200;
    std::string body;
    bool content_length = true;  // announce the body's length
    // Announce this length instead (the connection then ends after the body as it is).
    std::optional<size_t> announced_length;
    std::vector<std::pair<std::string, std::string>> headers;
    bool never_answer = false;  // keep the connection open and say nothing
};

class LoopbackHttpServer {
  public:
    using Handler = std::function<LoopbackReply(const LoopbackRequest&)>;
    explicit LoopbackHttpServer(Handler handler);
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
    ~LoopbackHttpServer();

    // "http://127.0.0.1:<port>" followed by path.
    std::string url(const std::string& path) const;
    std::vector<LoopbackRequest> requests() const;

  private:
    void serve();
    void answer(SOCKET client);

    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<LoopbackRequest> requests_;
    std::vector<SOCKET> held_;  // connections never answered, closed at the end
    std::thread thread_;
};

}  // namespace tastomat::test
