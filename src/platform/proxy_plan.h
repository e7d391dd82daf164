#pragma once
// How the HTTP session finds its way out through the proxy the system is set up for.
// Windows 8.1 and later resolve the proxy themselves (automatic proxy access); Windows 7
// does not, and there the session follows the user's settings, as Internet Explorer's
// connection dialog keeps them.
#include <string>

namespace tastomat {

// Where a session takes its proxy from: the system, which resolves it per request (8.1 and
// later), or the user's settings (before 8.1, where the system refuses that).
enum class ProxySource { System, UserSettings };

// The current user's settings: "Automatically detect settings", "Use automatic
// configuration script" and the proxy server with its exceptions.
struct UserProxySettings {
    bool auto_detect = false;
    std::string auto_config_url;
    std::string proxy;   // "host:port" or "http=host:port;https=host:port"
    std::string bypass;  // "<local>;*.example.com"
};

struct ProxyPlan {
    enum class Access {
        Automatic,  // the system resolves the proxy per request
        Default,    // the machine's WinHTTP setting (netsh winhttp), usually direct
        Named,      // the user's proxy server
    };
    Access access = Access::Automatic;
    std::string proxy;
    std::string bypass;
    // Ask the discovery (WPAD) or the configuration script for each URL's proxy; when that
    // finds none, the access above stands.
    bool discover = false;
    bool auto_detect = false;
    std::string auto_config_url;
    // Windows 7 offers TLS 1.1 and 1.2 only when the session asks for them; later systems
    // keep their own choice (which is how TLS 1.3 comes in on Windows 11).
    bool ask_for_tls12 = false;
};

// automatic_offered: the system took automatic proxy access (8.1 and later); user: the
// user's settings, read only where it did not.
ProxyPlan plan_proxy(bool automatic_offered, const UserProxySettings& user);

}  // namespace tastomat
