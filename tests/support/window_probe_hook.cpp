// Loaded into the process that shows a popup menu, through a window-procedure hook set by
// window_probe.exe: menus cannot be read from another process under Wine, so the texts are
// read here, inside the menu's own process, and handed back through a named mapping, one
// item a line: "left top right bottom<TAB>text" (the text as the menu holds it).
#include <windows.h>

#include <cwchar>
#include <memory>
#include <type_traits>

namespace {

struct CloseMapping {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct UnmapView {
    void operator()(wchar_t* view) const { UnmapViewOfFile(view); }
};
using Mapping = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseMapping>;
using View = std::unique_ptr<wchar_t, UnmapView>;

constexpr UINT get_menu_handle = 0x01E1;  // MN_GETHMENU
constexpr const wchar_t* mapping_name = L"TastomatE2EWindowProbeMenu";
constexpr size_t mapping_chars = 8192;

void write_menu_texts(HWND menu_window) {
    const Mapping mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, mapping_name));
    if (!mapping) return;
    const View view(static_cast<wchar_t*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0)));
    if (!view) return;
    wchar_t* out = view.get();
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menu_window, get_menu_handle, 0, 0));
    const int count = menu ? GetMenuItemCount(menu) : -1;
    if (count < 0) {
        wcscpy(out, L"\x1");  // no menu behind the window
        return;
    }
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        // "left top right bottom<TAB>text": the screen rectangle lets a test click the item.
        RECT r{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
        wchar_t text[400] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 400, MF_BYPOSITION);
        wchar_t item[512] = {};
        swprintf(item, 512, L"%ld %ld %ld %ld\t%ls", r.left, r.top, r.right, r.bottom, text);
        const size_t len = wcslen(item);
        if (used + len + 2 >= mapping_chars) break;
        wmemcpy(out + used, item, len);
        used += len;
        out[used++] = L'\n';
    }
    out[used] = L'\0';
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    window_probe_hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (call->message == RegisterWindowMessageW(mapping_name)) write_menu_texts(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
