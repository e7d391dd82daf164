#pragma once
// Shell shortcuts to a program in one of the user's well-known folders. The folders are
// found through the values the shell keeps for them in the user's registry.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/shell_link.h"

namespace tastomat {

// Location kinds of CreateShortcut; any other number names no folder.
inline constexpr std::uint8_t kLinkDesktop = 0;
inline constexpr std::uint8_t kLinkQuickLaunch = 1;
inline constexpr std::uint8_t kLinkSendTo = 2;
inline constexpr std::uint8_t kLinkStartMenu = 3;
inline constexpr std::uint8_t kLinkGivenFolder = 4;  // the subfolder argument is the folder
inline constexpr std::uint8_t kLinkStartup = 5;

// Where the shell keeps a kind's folder: value `name` of `key`\`subkey` under
// HKEY_CURRENT_USER.
struct ShellFolderValue {
    std::string_view key, subkey, name;
};
// nullopt for the given-folder kind and for unknown kinds.
std::optional<ShellFolderValue> shell_folder_value(std::uint8_t kind);

// The target's file name with ".lnk" for its extension: D:\Tools\Tastomat.exe gives
// Tastomat.lnk.
std::string link_file_name(std::string_view target);

// folder\subfolder\name, or folder\name for the given-folder kind or no subfolder. Each
// part is joined with one "\" of its own: a folder ending in "\" gives "\\" there, which
// the shell accepts.
std::string link_file_path(std::string_view folder, std::uint8_t kind, std::string_view subfolder,
                           std::string_view target);

// The working directory stored in a link: the one given, or else the target's folder with
// its trailing "\".
std::string link_working_directory(std::string_view given, std::string_view target);

// Writes a link to target into the kind's folder. result_path gets the link's path when a
// folder was found and keeps its value otherwise. Returns true only when the link file
// was written: false when no folder was found or the save failed. Throws ShellLinkError
// (no link object) and RegistryError (folder value not a string).
bool CreateShortcut(const std::string& target, std::uint8_t kind, const std::string& subfolder,
                    const std::string& working_directory, const std::string& arguments,
                    const std::string& description, std::string& result_path,
                    UserRegistry& registry, ShellLinkWriter& links);

// A link to target in the user's autostart folder, working in the target's folder.
bool InstallAutostart(const std::string& description, const std::string& target,
                      UserRegistry& registry, ShellLinkWriter& links);

}  // namespace tastomat
