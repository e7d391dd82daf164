#pragma once
#include "platform/drives.h"

namespace tastomat {

// While it lives, a drive without a medium answers this thread quietly instead of with the
// system's "no disk" box; other threads keep their error mode.
class QuietThreadErrors {
  public:
    QuietThreadErrors();
    QuietThreadErrors(const QuietThreadErrors&) = delete;
    QuietThreadErrors& operator=(const QuietThreadErrors&) = delete;
    ~QuietThreadErrors();

  private:
    unsigned long previous_ = 0;
    bool quiet_ = false;
};

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
