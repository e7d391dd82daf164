// Which way out the HTTP session takes, for the user settings Windows 7 leaves it to follow.
#include "platform/proxy_plan.h"

#include <gtest/gtest.h>

namespace tastomat {
namespace {

TEST(ProxyPlanTest, FollowsTheSystemWhereItCanAndTheUsersSettingsWhereItCannot) {
    using Access = ProxyPlan::Access;
    struct Case {
        const char* what;
        bool automatic_offered;
        UserProxySettings user;
        Access access;
        const char* proxy;
        bool discover;
        bool tls12;
    };
    const UserProxySettings manual{false, "", "proxy.firma.de:8080", "<local>;*.firma.de"};
    const UserProxySettings script{false, "http://wpad.firma.de/proxy.pac", "", ""};
    // clang-format off
    const Case cases[] = {
        {"8.1 and later: the system decides, whatever the user set", true, manual,
         Access::Automatic, "", false, false},
        {"7, nothing set: the machine's WinHTTP setting", false, {}, Access::Default, "", false,
         true},
        {"7, a proxy server with exceptions", false, manual, Access::Named, "proxy.firma.de:8080",
         false, true},
        {"7, a configuration script", false, script, Access::Default, "", true, true},
        {"7, detection first, the named server where it finds nothing", false,
         {true, "", "proxy.firma.de:8080", ""}, Access::Named, "proxy.firma.de:8080", true, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProxyPlan plan = plan_proxy(c.automatic_offered, c.user);
        EXPECT_EQ(plan.access, c.access);
        EXPECT_EQ(plan.proxy, c.proxy);
        EXPECT_EQ(plan.bypass, c.access == Access::Named ? c.user.bypass : "");
        EXPECT_EQ(plan.discover, c.discover);
        if (c.discover) {
            EXPECT_EQ(plan.auto_config_url, c.user.auto_config_url);
            EXPECT_EQ(plan.auto_detect, c.user.auto_detect);
        }
        EXPECT_EQ(plan.ask_for_tls12, c.tls12);
    }
}

}  // namespace
}  // namespace tastomat
