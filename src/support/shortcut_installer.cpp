#include "support/shortcut_installer.h"

#include "platform/paths.h"

namespace tastomat {
namespace {

constexpr std::string_view kExplorer = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kGrpConv = "Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv";
constexpr std::string_view kShellFolders = "Shell Folders";

std::string folder_for(std::uint8_t kind, const std::string& subfolder, UserRegistry& registry) {
    if (kind == kLinkGivenFolder) return subfolder;
    const auto value = shell_folder_value(kind);
    if (!value) return {};
    return registry.read_string(std::string(value->key), std::string(value->subkey),
                                std::string(value->name));
}

}  // namespace

std::optional<ShellFolderValue> shell_folder_value(std::uint8_t kind) {
    switch (kind) {
        case kLinkDesktop:
            return ShellFolderValue{kExplorer, kShellFolders, "Desktop"};
        case kLinkQuickLaunch:
            return ShellFolderValue{kGrpConv, "MapGroups", "Quick Launch"};
        case kLinkSendTo:
            return ShellFolderValue{kExplorer, kShellFolders, "SendTo"};
        case kLinkStartMenu:
            return ShellFolderValue{kExplorer, kShellFolders, "Start Menu"};
        case kLinkStartup:
            return ShellFolderValue{kExplorer, kShellFolders, "Startup"};
        default:
            return std::nullopt;
    }
}

std::string link_file_name(std::string_view target) {
    return change_extension(file_name_of(target), ".lnk");
}

std::string link_file_path(std::string_view folder, std::uint8_t kind, std::string_view subfolder,
                           std::string_view target) {
    std::string path(folder);
    if (!subfolder.empty() && kind != kLinkGivenFolder) {
        path += '\\';
        path += subfolder;
    }
    return path + '\\' + link_file_name(target);
}

std::string link_working_directory(std::string_view given, std::string_view target) {
    return given.empty() ? folder_part(target) : std::string(given);
}

bool CreateShortcut(const std::string& target, std::uint8_t kind, const std::string& subfolder,
                    const std::string& working_directory, const std::string& arguments,
                    const std::string& description, std::string& result_path,
                    UserRegistry& registry, ShellLinkWriter& links) {
    const std::string folder = folder_for(kind, subfolder, registry);
    if (folder.empty()) return false;
    const std::string path = link_file_path(folder, kind, subfolder, target);
    const ShellLinkProperties link{target, arguments, description,
                                   link_working_directory(working_directory, target)};
    const bool written = links.save(link, path);
    result_path = path;
    return written;
}

bool InstallAutostart(const std::string& description, const std::string& target,
                      UserRegistry& registry, ShellLinkWriter& links) {
    std::string ignored;
    return CreateShortcut(target, kLinkStartup, "", "", "", description, ignored, registry, links);
}

}  // namespace tastomat
