// Prints windows of any process, one per line in UTF-8:
//   left TAB top TAB right TAB bottom TAB style (hex) TAB class TAB text
// "window_probe.exe children <title>": the child windows of the visible top-level window
// with that title; "window_probe.exe top <class>": the visible top-level windows of that
// class. The text is asked for with WM_GETTEXT, which the system carries across processes
// (a tooltip answers with the tip it shows). A line break in a text is written as the
// unit separator (0x1F), so that each window stays one line. Exit code 1 when nothing
// matched.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace {

std::wstring text_of(HWND hwnd) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return {};
    std::wstring result;
    for (const wchar_t c : std::wstring(text, copied < 1024 ? copied : 1023)) {
        if (c == L'\r') continue;
        result += c == L'\n' ? L'\x1f' : c;
    }
    return result;
}

void print(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    wchar_t class_name[256] = {};
    GetClassNameW(hwnd, class_name, 256);
    std::string line = std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" +
                       std::to_string(r.right) + "\t" + std::to_string(r.bottom) + "\t";
    char style[16];
    std::snprintf(style, sizeof style, "%08lx",
                  static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_STYLE)));
    line += std::string(style) + "\t" + tastomat::to_utf8(class_name) + "\t" +
            tastomat::to_utf8(text_of(hwnd)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring mode = argv[1];
    std::vector<HWND> found;
    if (mode == L"children") {
        HWND parent = nullptr;
        while ((parent = FindWindowExW(nullptr, parent, nullptr, argv[2])) != nullptr) {
            if (IsWindowVisible(parent)) break;
        }
        if (!parent) return 1;
        EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&found));
    } else if (mode == L"top") {
        HWND w = nullptr;
        while ((w = FindWindowExW(nullptr, w, argv[2], nullptr)) != nullptr) {
            if (IsWindowVisible(w)) found.push_back(w);
        }
    } else {
        return 2;
    }
    for (HWND hwnd : found) print(hwnd);
    return found.empty() ? 1 : 0;
}
