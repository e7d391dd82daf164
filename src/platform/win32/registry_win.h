#pragma once
#include "platform/registry.h"

namespace tastomat {

class WinUserRegistry final : public UserRegistry {
  public:
    std::string read_string(const std::string& key, const std::string& subkey,
                            const std::string& name) override;
};

}  // namespace tastomat
