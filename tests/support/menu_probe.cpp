// Prints the items of the popup menu that is open on the screen, one per line in UTF-8:
// "left top right bottom<TAB>text" with the item's screen rectangle. Exit code 1 when no
// menu is open, 2 when its items could not be read.
// The texts are read by menu_probe_hook.dll inside the menu's own process.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/wide.h"

namespace {

template <auto Release>
struct Releaser {
    template <class T>
    void operator()(T handle) const {
        Release(handle);
    }
};
template <class Handle, auto Release>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Releaser<Release>>;

using Library = Owned<HMODULE, FreeLibrary>;
using Hook = Owned<HHOOK, UnhookWindowsHookEx>;
using Mapping = Owned<HANDLE, CloseHandle>;
using View = std::unique_ptr<wchar_t, Releaser<UnmapViewOfFile>>;

constexpr const wchar_t* mapping_name = L"TastomatE2EMenuProbe";
constexpr size_t mapping_chars = 8192;

HWND visible_menu_window() {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"#32768", nullptr)) != nullptr) {
        if (IsWindowVisible(w)) return w;
    }
    return nullptr;
}

std::wstring hook_library_path() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"menu_probe_hook.dll";
}

// Runs the hook once inside the menu's thread and returns what it wrote.
std::wstring read_through_hook(HWND menu_window, const wchar_t* shared) {
    const Library library(LoadLibraryW(hook_library_path().c_str()));
    if (!library) return {};
    auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "menu_probe_hook")));
    if (!proc) return {};
    const DWORD thread = GetWindowThreadProcessId(menu_window, nullptr);
    const Hook hook(SetWindowsHookExW(WH_CALLWNDPROC, proc, library.get(), thread));
    if (!hook) return {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(menu_window, RegisterWindowMessageW(mapping_name), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    return shared;
}

}  // namespace

int wmain() {
    HWND menu_window = visible_menu_window();
    if (!menu_window) return 1;
    const Mapping mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             mapping_chars * sizeof(wchar_t), mapping_name));
    if (!mapping) return 2;
    const View shared(
        static_cast<wchar_t*>(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)));
    if (!shared) return 2;
    shared.get()[0] = L'\0';
    const std::wstring texts = read_through_hook(menu_window, shared.get());
    if (texts.empty() || texts == L"\x1") return 2;
    const std::string out = tastomat::to_utf8(texts);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
