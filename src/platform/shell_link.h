#pragma once
#include <stdexcept>
#include <string>

namespace tastomat {

// The shell link object cannot be had (COM not initialised, class not registered).
class ShellLinkError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a shell shortcut (".lnk") points to. Icon, hotkey and window state keep the
// shell's defaults.
struct ShellLinkProperties {
    std::string target;
    std::string arguments;
    std::string description;
    std::string working_directory;
    bool operator==(const ShellLinkProperties&) const = default;
};

class ShellLinkWriter {
  public:
    virtual ~ShellLinkWriter() = default;
    // Writes the link to path, replacing a file of that name. False when the save failed
    // (missing folder, no write access). Throws ShellLinkError when there is no shell
    // link object to write with.
    virtual bool save(const ShellLinkProperties& link, const std::string& path) = 0;
};

}  // namespace tastomat
