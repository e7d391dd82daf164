#include "platform/win32/system_folders_win.h"

#include <shlobj.h>
#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace tastomat {
namespace {

// The shell's allocator together with the identifier list it handed out: both are given
// back on every path out of the lookup.
class ShellItemList {
  public:
    ShellItemList() {
        if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
    }
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;
    ~ShellItemList() {
        if (malloc_) {
            if (pidl_) malloc_->Free(pidl_);
            malloc_->Release();
        }
    }
    bool has_allocator() const { return malloc_ != nullptr; }
    PIDLIST_ABSOLUTE* out() { return &pidl_; }
    PCIDLIST_ABSOLUTE get() const { return pidl_; }

  private:
    IMalloc* malloc_ = nullptr;
    PIDLIST_ABSOLUTE pidl_ = nullptr;
};

}  // namespace

std::string WinSystemFolders::special_folder(int csidl) {
    ShellItemList list;
    if (!list.has_allocator()) return {};
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.out())) || !list.get()) return {};
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.get(), buffer)) return {};
    std::string path = to_utf8(buffer);
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::wstring module_path_w() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // truncated: try again with more room
    }
}

std::string WinSystemFolders::module_path() { return to_utf8(module_path_w()); }

// The core names these folders by number without seeing the system's headers.
static_assert(kFolderAppData == CSIDL_APPDATA);
static_assert(kFolderProgramFiles == CSIDL_PROGRAM_FILES);
static_assert(kFolderStartup == CSIDL_STARTUP);

}  // namespace tastomat
