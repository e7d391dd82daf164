#pragma once
#include <string>

#include "platform/file_system.h"

namespace tastomat {

// The system's own wording of an error code, without the trailing line break.
std::string system_message(unsigned long error);

// Throws for a system call that failed, with the thread's last error code and its text, so
// that a report says why: "CreateWindowEx failed: <text> (error 1400)". Call it before
// anything else can change the last error.
[[noreturn]] void throw_last_error(const std::string& call);

// Files through the wide-character Win32 API. replace_file writes a temporary file beside
// the target and renames it over the target, so a crash or a full disk never leaves a
// half-written settings file behind.
// An existing directory, links followed; "E:" names the drive's root.
bool is_existing_directory(const std::wstring& path);
// An existing file that is not a directory.
bool is_existing_file(const std::wstring& path);

// How long a file another program holds for a moment (a virus scanner, the search indexer,
// a sync client) is waited for before the error reaches the user.
struct HeldFileWait {
    unsigned total_ms = 2000;
    unsigned step_ms = 50;
};

class WinFileSystem final : public FileSystem {
  public:
    explicit WinFileSystem(HeldFileWait wait = {}) : wait_(wait) {}
    std::optional<std::string> read_file(const std::string& path) override;
    void replace_file(const std::string& path, const std::string& bytes) override;
    bool file_exists(const std::string& path) override;
    bool directory_exists(const std::string& path) override;
    bool create_directories(const std::string& path) override;
    bool copy_file(const std::string& from, const std::string& to) override;

  private:
    HeldFileWait wait_;
};

}  // namespace tastomat
