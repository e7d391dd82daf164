#pragma once
// Plain HTTP requests as the update check needs them: blocking, on the calling thread,
// redirects not followed, every reply outside the 200 range an error.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace tastomat {

// A request that did not end with a 2xx reply: no connection, a time-out, a broken
// transfer, a redirect or an error status.
class HttpError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Bytes of the body received so far in the current transfer; called on the thread that
// made the request, while it blocks. May throw to abandon the transfer.
using HttpProgress = std::function<void(std::int64_t received)>;

// The largest reply body kept in memory. The update archive is a fraction of a megabyte;
// a server that announces or sends more is not the maker's, or is broken.
inline constexpr std::int64_t kLargestHttpBody = std::int64_t{64} << 20;

// How long one step of a request may take before it fails, in milliseconds.
struct HttpTimeouts {
    int resolve_ms = 15000;
    int connect_ms = 15000;
    int send_ms = 30000;
    int receive_ms = 30000;
};

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // HEAD: the length the reply announces in its Content-Length header, -1 without one.
    virtual std::int64_t head(const std::string& url) = 0;
    // GET: the body exactly as received. The version file is read from these bytes too:
    // its rules look at the raw text (a byte-order mark counts as an ordinary character).
    // A body announced or received above the client's limit is an HttpError.
    virtual std::string get(const std::string& url, const HttpProgress& progress) = 0;
};

}  // namespace tastomat
