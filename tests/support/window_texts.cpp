// Prints the texts of a window that is open on the screen, one line each in UTF-8:
//   caption<TAB><the window's own text><TAB><left top right bottom>
//   <child class><TAB><child text><TAB><left top right bottom>   for every child window
// with the screen rectangles, children in creation order.
// The window is the first visible top-level window whose title is the first argument.
// Exit code 1 when there is none. Texts are asked with WM_GETTEXT, which the system
// carries across processes; a line break inside a text is written as "\r" or "\n".
#include <windows.h>

#include <cstdio>
#include <string>

#include "utf8.h"

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\\') {
            out += "\\\\";
        } else {
            out += ch;
        }
    }
    return out;
}

std::wstring text_of(HWND hwnd) {
    wchar_t buffer[4096] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    return std::wstring(buffer, length);
}

std::wstring class_of(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK find_top(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (IsWindowVisible(hwnd) && text_of(hwnd) == search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void print(const std::string& kind, HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    std::printf("%s\t%s\t%ld %ld %ld %ld\n", kind.c_str(), escaped(utf8(text_of(hwnd))).c_str(),
                r.left, r.top, r.right, r.bottom);
}

BOOL CALLBACK print_child(HWND hwnd, LPARAM) {
    print(utf8(class_of(hwnd)), hwnd);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    Search search{argv[1]};
    EnumWindows(find_top, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    print("caption", search.found);
    EnumChildWindows(search.found, print_child, 0);
    return 0;
}
