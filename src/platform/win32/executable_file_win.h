#pragma once
#include "platform/executable_file.h"

namespace tastomat {

// Version information through GetFileVersionInfoW / VerQueryValueW; the last-write time
// in the local time of that day (daylight saving as it was then, as Explorer shows it).
class WinExecutableFile final : public ExecutableFile {
  public:
    std::optional<VersionInformation> version_information(const std::string& path) override;
    std::optional<LocalDateTime> last_written(const std::string& path) override;
};

}  // namespace tastomat
