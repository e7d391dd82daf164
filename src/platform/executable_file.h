#pragma once
// What Windows records about an executable file: its version information and when it was
// last written.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace tastomat {

struct FileVersion {
    std::uint16_t major = 1, minor = 0, release = 0, build = 0;
    bool operator==(const FileVersion&) const = default;
};

// The version information of a file: fixed is its fixed file-version block, empty when
// the information has none.
struct VersionInformation {
    std::optional<FileVersion> fixed;
};

class ExecutableFile {
  public:
    virtual ~ExecutableFile() = default;
    // Nothing when the file carries no version information or it cannot be read.
    virtual std::optional<VersionInformation> version_information(const std::string& path) = 0;
    // The last-write time in local time; nothing when the file cannot be asked.
    virtual std::optional<LocalDateTime> last_written(const std::string& path) = 0;
};

}  // namespace tastomat
