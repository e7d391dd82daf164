#pragma once
#include <string>

namespace tastomat {

// Well-known folder numbers of the shell.
inline constexpr int kFolderAppData = 26;       // per-user application data (roaming)
inline constexpr int kFolderProgramFiles = 38;  // the system's program-files folder
inline constexpr int kFolderStartup = 7;        // the user's autostart folder

class SystemFolders {
  public:
    virtual ~SystemFolders() = default;
    // The folder's file-system path with a trailing "\", or "" when it has none.
    virtual std::string special_folder(int csidl) = 0;
    // Full path of the running executable.
    virtual std::string module_path() = 0;
};

}  // namespace tastomat
