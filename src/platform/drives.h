#pragma once
#include <string>

namespace tastomat {

// The drive kinds the drive search cares about (values as the system reports them).
inline constexpr int kDriveRemovable = 2;
inline constexpr int kDriveFixed = 3;
inline constexpr int kDriveRemote = 4;
inline constexpr int kDriveCdRom = 5;
inline constexpr int kDriveRamDisk = 6;

// The error mode that keeps an empty floppy or card reader from popping up a system dialog.
inline constexpr unsigned kFailCriticalErrors = 1;

class Drives {
  public:
    virtual ~Drives() = default;
    // root is a letter and a colon ("F:").
    virtual int drive_type(const std::string& root) = 0;
    // Sets the process error mode and returns the previous one.
    virtual unsigned set_error_mode(unsigned mode) = 0;
};

// What a start asks about drives and paths, from any thread and several at once. An
// unreachable network drive can take tens of seconds over each answer. Each call asks with
// the system's critical-error boxes off for its own thread, so a drive without a medium
// answers quietly.
class DriveProbes {
  public:
    virtual ~DriveProbes() = default;
    // root is a letter and a colon ("F:").
    virtual int drive_type(const std::string& root) const = 0;
    // An existing file that is not a directory.
    virtual bool file_exists(const std::string& path) const = 0;
    // An existing directory; "E:" names one.
    virtual bool directory_exists(const std::string& path) const = 0;
};

// While it lives, drives without a medium are asked about quietly instead of with the
// system's "no disk" box, from the first probe to the last; the previous error mode comes
// back however the work ends.
class QuietDriveErrors {
  public:
    explicit QuietDriveErrors(Drives& drives)
        : drives_(drives), previous_(drives.set_error_mode(kFailCriticalErrors)) {}
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
    ~QuietDriveErrors() { drives_.set_error_mode(previous_); }

  private:
    Drives& drives_;
    unsigned previous_;
};

}  // namespace tastomat
