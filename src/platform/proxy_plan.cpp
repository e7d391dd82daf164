#include "platform/proxy_plan.h"

namespace tastomat {

ProxyPlan plan_proxy(bool automatic_offered, const UserProxySettings& user) {
    ProxyPlan plan;
    if (automatic_offered) return plan;
    plan.ask_for_tls12 = true;
    // As Internet Explorer does: discovery and the script first, the named server where
    // they find nothing, the machine's own setting where the user has none.
    plan.discover = user.auto_detect || !user.auto_config_url.empty();
    plan.auto_detect = user.auto_detect;
    plan.auto_config_url = user.auto_config_url;
    if (user.proxy.empty()) {
        plan.access = ProxyPlan::Access::Default;
    } else {
        plan.access = ProxyPlan::Access::Named;
        plan.proxy = user.proxy;
        plan.bypass = user.bypass;
    }
    return plan;
}

}  // namespace tastomat
