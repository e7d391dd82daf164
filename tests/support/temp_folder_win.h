#pragma once
// A fresh folder under the temp directory for one test, removed with everything in it
// when the test is done, read-only files included.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tastomat::test {

class TempFolder {
  public:
    explicit TempFolder(const std::wstring& prefix)
        : path_(std::filesystem::temp_directory_path() /
                (prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(GetTickCount64()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tastomat::test
