#include "support/settings_location.h"

namespace tastomat {
std::string backup_file_name(std::string_view settings_file) {
    return change_extension(settings_file, ".bak");
}

SettingsLocation compute_settings_location(SystemFolders& folders, FileSystem& files) {
    const std::string program = folders.module_path();
    SettingsLocation location;
    // Without an application-data folder the settings go to the root of the current drive.
    location.SettingsFolder = with_trailing_backslash(folders.special_folder(kFolderAppData)) +
                              "Kobaltix\\" + file_stem(program) + "\\";
    if (!files.directory_exists(location.SettingsFolder)) {
        files.create_directories(location.SettingsFolder);
    }
    location.ProgramFilesFolder = folders.special_folder(kFolderProgramFiles);
    location.SettingsFile = with_trailing_backslash(location.SettingsFolder) +
                            change_extension(file_name_of(program), ".ini");
    return location;
}

}  // namespace tastomat
