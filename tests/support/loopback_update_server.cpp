// The update server of the test builds: the program built for the end-to-end scenarios
// asks the loopback server the scenario started, with short time-outs, so that a server
// which never answers ends the check in seconds. The shipped program has no such way in;
// its server is fixed in the build.
//   TASTOMAT_TEST_UPDATE_URL       the server folder, "http://127.0.0.1:<port>/download/"
//   TASTOMAT_TEST_HTTP_TIMEOUT_MS  each time-out (connect, send, receive), default 3000
//   TASTOMAT_TEST_PROXY_SOURCE     "user": the proxy from the user's settings, as on
//                                  Windows 7 (Wine takes the automatic access type of
//                                  later systems but goes direct with it)
#include <windows.h>

#include <string>

#include "info/update_server.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

std::string environment(const wchar_t* name) {
    wchar_t buffer[2048];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
    return n > 0 && n < 2048 ? to_utf8(std::wstring_view(buffer, n)) : std::string();
}

}  // namespace

const UpdateServer& update_server() {
    static const UpdateServer server = [] {
        UpdateServer s;
        s.base_url = environment(L"TASTOMAT_TEST_UPDATE_URL");
        // Port 9 (discard) on the loopback: nobody listens, the connection is refused.
        if (s.base_url.empty()) s.base_url = "http://127.0.0.1:9/download/";
        const std::string ms = environment(L"TASTOMAT_TEST_HTTP_TIMEOUT_MS");
        const int timeout = ms.empty() ? 3000 : std::stoi(ms);
        s.timeouts = HttpTimeouts{timeout, timeout, timeout, timeout};
        if (environment(L"TASTOMAT_TEST_PROXY_SOURCE") == "user")
            s.proxy = ProxySource::UserSettings;
        return s;
    }();
    return server;
}

}  // namespace tastomat
