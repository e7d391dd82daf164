#pragma once
#include "platform/system_folders.h"

namespace tastomat {

// Shell special folders by CSIDL number, and the running executable's path.
class WinSystemFolders final : public SystemFolders {
  public:
    std::string special_folder(int csidl) override;
    std::string module_path() override;
};

}  // namespace tastomat
