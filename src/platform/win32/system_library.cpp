#include "platform/win32/system_library.h"

#include <string>

namespace tastomat {

std::wstring system_folder() {
    std::wstring folder(MAX_PATH, L'\0');
    UINT n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (n >= folder.size()) {  // too small: n is the size needed, with the terminator
        folder.resize(n);
        n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    folder.resize(n < folder.size() ? n : 0);
    return folder;
}

HMODULE system_library(const wchar_t* name, LibraryLoader load) {
    // Loading an already loaded library only counts it once more; the count is never
    // given back, as the library is meant to stay.
    HMODULE module = load(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without update KB2533623 knows no search flags and says so; any other
    // failure means the system folder has no such library, and no other folder is tried.
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    const std::wstring folder = system_folder();
    if (folder.empty()) return nullptr;
    // By its full path; the altered search has the libraries it imports found beside it,
    // in the system folder, instead of beside the program.
    const std::wstring path = folder + L"\\" + name;
    return load(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tastomat
