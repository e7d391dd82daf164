#pragma once
// File access as the core needs it. Paths are UTF-8 Windows paths ("C:\Tools\x.exe").
#include <optional>
#include <stdexcept>
#include <string>

namespace tastomat {

// A file that cannot be read or written: the message is what the user sees in the error box.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Whole content as raw bytes; nullopt when the file does not exist.
    // Throws FileError when it exists but cannot be read (locked, no rights).
    virtual std::optional<std::string> read_file(const std::string& path) = 0;

    // Replaces the file's content as one step: readers see either the old or the new
    // content, never a truncated one. Throws FileError and leaves the old file as it was.
    virtual void replace_file(const std::string& path, const std::string& bytes) = 0;

    // An existing file that is not a directory.
    virtual bool file_exists(const std::string& path) = 0;
    // An existing directory (links followed). A bare drive designator "E:" names one.
    virtual bool directory_exists(const std::string& path) = 0;
    // Creates the folder and every missing parent; false when it could not.
    virtual bool create_directories(const std::string& path) = 0;
    // Copies over an existing destination; false on failure.
    virtual bool copy_file(const std::string& from, const std::string& to) = 0;
};

}  // namespace tastomat
