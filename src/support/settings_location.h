#pragma once
// Where the settings live: a per-user folder named after the program file, never beside
// the program, so every copy called Tastomat.exe on any stick shares one settings file.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/system_folders.h"

namespace tastomat {

struct SettingsLocation {
    std::string SettingsFolder;      // ...\AppData\Roaming\Kobaltix\Tastomat\ (trailing "\")
    std::string SettingsFile;        // ...\Kobaltix\Tastomat\Tastomat.ini
    std::string ProgramFilesFolder;  // C:\Program Files\ or ""
};

// Works the three paths out and creates the settings folder with its parents when it is
// missing. A folder that cannot be created is not reported: writing the settings file
// will fail later with an error the user sees.
SettingsLocation compute_settings_location(SystemFolders& folders, FileSystem& files);

// The settings file's backup: same folder and stem, extension ".bak".
std::string backup_file_name(std::string_view settings_file);

}  // namespace tastomat
