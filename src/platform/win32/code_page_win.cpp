#include "platform/win32/code_page_win.h"

#include <windows.h>

#include <climits>

#include "platform/win32/wide.h"

namespace tastomat {

std::string WinCodePage::to_utf8(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int n = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, wide.data(), units);
    return tastomat::to_utf8(wide);
}

std::string WinCodePage::from_utf8(std::string_view text) {
    const std::wstring wide = to_wide(text);
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int n = static_cast<int>(wide.size());
    // No best fit: a character the code page lacks becomes '?' instead of a look-alike
    // that would silently name a different file.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), n, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace tastomat
