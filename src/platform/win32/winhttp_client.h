#pragma once
// The HTTP client over WinHTTP: part of Windows, no library to ship beside the program.
#include <windows.h>
// winhttp.h needs the types windows.h declares.
#include <winhttp.h>

#include "platform/http_client.h"
#include "platform/proxy_plan.h"
#include "platform/win32/scoped.h"

namespace tastomat {

// One session for the client's life (cookies live as long), one connection per request.
// Through the proxy the system is set up for (see proxy_plan.h), no credentials; http://
// and https:// URLs. Blocking: the update check calls it from a worker thread.
class WinHttpClient final : public HttpClient {
  public:
    // largest_body: the limit of a reply body, kLargestHttpBody but in tests.
    explicit WinHttpClient(const HttpTimeouts& timeouts = {},
                           ProxySource proxy = ProxySource::System,
                           std::int64_t largest_body = kLargestHttpBody);

    std::int64_t head(const std::string& url) override;
    std::string get(const std::string& url, const HttpProgress& progress) override;

  private:
    struct Request {
        ScopedInternet connection;
        ScopedInternet request;
    };
    // Sends the request and waits for a 2xx reply; throws HttpError otherwise.
    Request send(const wchar_t* verb, const std::string& url);
    // Before Windows 8.1: the session as the user's proxy settings say.
    void open_with_user_settings();
    // Where the user's settings name a discovery or a script: the proxy they give for url.
    void use_discovered_proxy(HINTERNET request, const std::string& url);

    ScopedInternet session_;
    HttpTimeouts timeouts_;
    std::int64_t largest_body_;
    ProxyPlan plan_;
};

}  // namespace tastomat
