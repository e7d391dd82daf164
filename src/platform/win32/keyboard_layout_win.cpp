#include "platform/win32/keyboard_layout_win.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tastomat {

std::string WinKeyboardLayout::key_name(unsigned virtual_key) {
    const unsigned long key_data =
        key_name_data(virtual_key, {MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC_EX),
                                    MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC)});
    if (key_data == 0) return {};
    wchar_t buffer[64] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(key_data), buffer, 64);
    if (length <= 0) return {};
    return to_utf8(std::wstring_view(buffer, static_cast<size_t>(length)));
}

bool WinKeyboardLayout::types_character(unsigned virtual_key) {
    // The top bit marks a dead key, which types a character too.
    return (MapVirtualKeyW(virtual_key, MAPVK_VK_TO_CHAR) & 0x7FFFFFFFu) != 0;
}

}  // namespace tastomat
