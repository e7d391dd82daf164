#include "platform/win32/keyboard_layout_win.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tastomat {

std::string WinKeyboardLayout::key_name(unsigned virtual_key) {
    const UINT scan_code = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    if (scan_code == 0) return {};
    wchar_t buffer[64] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scan_code << 16), buffer, 64);
    if (length <= 0) return {};
    return to_utf8(std::wstring_view(buffer, static_cast<size_t>(length)));
}

}  // namespace tastomat
