#include "platform/win32/winhttp_client.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "platform/proxy_plan.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

constexpr const wchar_t* kUserAgent = L"Mozilla/3.0 (compatible; Indy Library)";
constexpr const wchar_t* kHeaders = L"Accept: text/html, */*\r\nContent-Type: text/html\r\n";

[[noreturn]] void fail(const std::string& what, const std::string& url) {
    const DWORD error = GetLastError();
    throw HttpError(what + " (" + std::to_string(error) + "): " + url);
}

struct ParsedUrl {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;  // with the query
    bool secure = false;
};

ParsedUrl parse_url(const std::string& url) {
    const std::wstring wide = to_wide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
        static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts))
        fail("Not a URL", url);
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        throw HttpError("Neither http nor https: " + url);
    ParsedUrl parsed;
    parsed.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    parsed.port = parts.nPort;
    parsed.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) parsed.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (parsed.path.empty()) parsed.path = L"/";
    parsed.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return parsed;
}

// The Content-Length header of the reply, -1 when there is none or it is no number.
std::int64_t content_length(HINTERNET request) {
    wchar_t buffer[32] = {};
    DWORD size = sizeof buffer;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX,
                             buffer, &size, WINHTTP_NO_HEADER_INDEX))
        return -1;
    const std::string text = to_utf8(buffer);
    std::int64_t length = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), length);
    return ec == std::errc{} && end == text.data() + text.size() && length >= 0 ? length : -1;
}

DWORD status_code(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

// Takes over a string WinHTTP allocated for the caller.
std::string take_global(LPWSTR text) {
    const ScopedGlobalMem<wchar_t> owned(text);
    return text ? to_utf8(text) : std::string();
}

UserProxySettings user_proxy_settings() {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return {};
    UserProxySettings user;
    user.auto_detect = config.fAutoDetect != FALSE;
    user.auto_config_url = take_global(config.lpszAutoConfigUrl);
    user.proxy = take_global(config.lpszProxy);
    user.bypass = take_global(config.lpszProxyBypass);
    return user;
}

}  // namespace

WinHttpClient::WinHttpClient(const HttpTimeouts& timeouts, ProxySource proxy,
                             std::int64_t largest_body)
    : timeouts_(timeouts), largest_body_(largest_body) {
    // The system's proxy, resolved by the system: Windows 8.1 and later. Earlier systems
    // refuse the access type, and the user's own settings are followed instead.
    if (proxy == ProxySource::System)
        session_.reset(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_) open_with_user_settings();
    // Without them a server that takes the connection and never answers would hold the
    // check, and the dialog that waits for it, for good.
    WinHttpSetTimeouts(session_.get(), timeouts.resolve_ms, timeouts.connect_ms, timeouts.send_ms,
                       timeouts.receive_ms);
}

void WinHttpClient::open_with_user_settings() {
    plan_ = plan_proxy(false, user_proxy_settings());
    if (plan_.access == ProxyPlan::Access::Named) {
        const std::wstring proxy = to_wide(plan_.proxy);
        const std::wstring bypass = to_wide(plan_.bypass);
        session_.reset(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.c_str(),
                                   bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass.c_str(), 0));
    } else {
        session_.reset(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    }
    if (!session_) fail("WinHttpOpen failed", "");
    if (plan_.ask_for_tls12) {
        // Without the update for it the system refuses the option; the check then works
        // with the servers that still speak TLS 1.0.
        DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 |
                          WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
        WinHttpSetOption(session_.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                         sizeof protocols);
    }
}

WinHttpClient::Request WinHttpClient::send(const wchar_t* verb, const std::string& url) {
    const ParsedUrl parsed = parse_url(url);
    Request r;
    r.connection.reset(WinHttpConnect(session_.get(), parsed.host.c_str(), parsed.port, 0));
    if (!r.connection) fail("No connection", url);
    r.request.reset(WinHttpOpenRequest(r.connection.get(), verb, parsed.path.c_str(), nullptr,
                                       WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                       parsed.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!r.request) fail("Request not made", url);
    if (plan_.discover) use_discovered_proxy(r.request.get(), url);
    // A redirect is a failure of its own: the files are where the program says or nowhere.
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(r.request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(r.request.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    DWORD wait_for_headers = static_cast<DWORD>(timeouts_.receive_ms);
    WinHttpSetOption(r.request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &wait_for_headers,
                     sizeof wait_for_headers);

    if (!WinHttpSendRequest(r.request.get(), kHeaders, static_cast<DWORD>(-1L),
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        fail("Request not sent", url);
    if (!WinHttpReceiveResponse(r.request.get(), nullptr)) fail("No reply", url);
    const DWORD status = status_code(r.request.get());
    if (status < 200 || status > 299)
        throw HttpError("HTTP status " + std::to_string(status) + ": " + url);
    return r;
}

void WinHttpClient::use_discovered_proxy(HINTERNET request, const std::string& url) {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    const std::wstring script = to_wide(plan_.auto_config_url);
    if (!script.empty()) {
        options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = script.c_str();
    } else {
        options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    const std::wstring wide = to_wide(url);
    // Nothing found (no script, no discovery answer): the session's own access stands.
    if (!WinHttpGetProxyForUrl(session_.get(), wide.c_str(), &options, &info)) return;
    const ScopedGlobalMem<wchar_t> proxy(info.lpszProxy), bypass(info.lpszProxyBypass);
    WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
}

std::int64_t WinHttpClient::head(const std::string& url) {
    const Request r = send(L"HEAD", url);
    return content_length(r.request.get());
}

std::string WinHttpClient::get(const std::string& url, const HttpProgress& progress) {
    const Request r = send(L"GET", url);
    const std::int64_t announced = content_length(r.request.get());
    const auto too_large = [&](std::int64_t size) {
        return HttpError("Reply of " + std::to_string(size) + " bytes, more than " +
                         std::to_string(largest_body_) + " are refused: " + url);
    };
    // Refused before a byte is read, so nothing of it is ever held.
    if (announced > largest_body_) throw too_large(announced);
    std::string body;
    if (announced > 0) body.reserve(static_cast<size_t>(announced));
    std::vector<char> buffer(size_t{64} * 1024);
    for (;;) {
        // Reading only what has arrived reports progress as each piece comes in: a
        // full-buffer read waits for 64 KiB, which on a slow line leaves the progress line
        // standing still for seconds.
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(r.request.get(), &available)) fail("Transfer broken", url);
        if (available == 0) break;
        DWORD read = 0;
        const DWORD wanted = std::min(available, static_cast<DWORD>(buffer.size()));
        if (!WinHttpReadData(r.request.get(), buffer.data(), wanted, &read))
            fail("Transfer broken", url);
        if (read == 0) break;
        // A server that announced nothing, or less than it sends, is stopped at the limit.
        const std::int64_t received = static_cast<std::int64_t>(body.size()) + read;
        if (received > largest_body_) throw too_large(received);
        body.append(buffer.data(), read);
        if (progress) progress(static_cast<std::int64_t>(body.size()));
    }
    // A connection that ends early looks like the end of the body; the announced length
    // tells the two apart.
    if (announced >= 0 && static_cast<std::int64_t>(body.size()) != announced)
        throw HttpError("Transfer ended after " + std::to_string(body.size()) + " of " +
                        std::to_string(announced) + " bytes: " + url);
    return body;
}

}  // namespace tastomat
