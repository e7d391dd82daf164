#include "support/settings_location.h"

namespace tastomat {
namespace {

std::string with_trailing_backslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// Position of the extension's dot inside path, or npos when the file name has none.
size_t extension_dot(std::string_view path) {
    const size_t name_start = path.size() - file_name_of(path).size();
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < name_start ? std::string_view::npos : dot;
}

}  // namespace

std::string_view file_name_of(std::string_view path) {
    const size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string file_stem(std::string_view path) {
    const std::string_view name = file_name_of(path);
    return std::string(name.substr(0, extension_dot(name)));
}

std::string change_extension(std::string_view path, std::string_view extension) {
    return std::string(path.substr(0, extension_dot(path))) + std::string(extension);
}

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
