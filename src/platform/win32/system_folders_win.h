#pragma once
#include <string>

#include "platform/system_folders.h"

namespace tastomat {

// Full path of the running executable, however deep its folder.
std::wstring module_path_w();

// Shell special folders by CSIDL number, and the running executable's path.
class WinSystemFolders final : public SystemFolders {
  public:
    std::string special_folder(int csidl) override;
    std::string module_path() override;
};

}  // namespace tastomat
