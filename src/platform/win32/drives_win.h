#pragma once
#include "platform/drives.h"

namespace tastomat {

class WinDrives final : public Drives {
  public:
    int drive_type(const std::string& root) override;
    unsigned set_error_mode(unsigned mode) override;
};

// Asks from any thread; each call keeps the system's "no disk" box away for its own thread
// only, so the probes of a start leave the process's error mode alone.
class WinDriveProbes final : public DriveProbes {
  public:
    int drive_type(const std::string& root) const override;
    bool file_exists(const std::string& path) const override;
    bool directory_exists(const std::string& path) const override;
};

}  // namespace tastomat
