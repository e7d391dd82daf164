// Reads texts that the X side cannot see, from another process, one per line in UTF-8:
//   text_probe tooltips        the text of every tooltip and balloon on the screen
//   text_probe list <title>    the lines of the list box in the window of that title
// Exit code 1 when there is no such window. And, for what a keyboard layout cannot type:
//   text_probe clipboard <text>   puts the text on the clipboard
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "utf8.h"

namespace {

void print(const std::wstring& line) { std::printf("%s\n", utf8(line).c_str()); }

// A window of another process may hang; the probe must not hang with it.
LRESULT send(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

int tooltips() {
    int found = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr));) {
        if (!IsWindowVisible(w)) continue;
        wchar_t text[1024] = {};
        send(w, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        print(text);
        ++found;
    }
    return found ? 0 : 1;
}

int list_lines(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    HWND list = window ? FindWindowExW(window, nullptr, L"ListBox", nullptr) : nullptr;
    if (!list) return 1;
    const LRESULT count = send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const LRESULT got =
            send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
        line.resize(static_cast<size_t>(got < 0 ? 0 : got));
        print(line);
    }
    return 0;
}

int put_on_clipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return 1;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return 1;
    }
    EmptyClipboard();
    // From here on the clipboard owns the memory.
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
    CloseClipboard();
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"tooltips") return tooltips();
    if (argc >= 3 && std::wstring(argv[1]) == L"list") return list_lines(argv[2]);
    if (argc >= 3 && std::wstring(argv[1]) == L"clipboard") return put_on_clipboard(argv[2]);
    std::fprintf(stderr, "usage: text_probe tooltips | list <title> | clipboard <text>\n");
    return 2;
}
