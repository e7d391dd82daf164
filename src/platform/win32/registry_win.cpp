#include "platform/win32/registry_win.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace tastomat {

std::string WinUserRegistry::read_string(const std::string& key, const std::string& subkey,
                                         const std::string& name) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, to_wide(key).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return {};
    const ScopedRegistryKey parent(opened);
    if (RegOpenKeyExW(parent.get(), to_wide(subkey).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return {};
    const ScopedRegistryKey child(opened);
    const std::wstring value_name = to_wide(name);
    std::wstring text(64, L'\0');
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = RegQueryValueExW(child.get(), value_name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            text.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS) return {};
        // Taken as stored: "%USERPROFILE%\..." stays as it is written.
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw RegistryError("Invalid data type for '" + name + "'");
        text.resize(bytes / sizeof(wchar_t));
        // Stored with or without its terminating zero; anything after the first one goes.
        const size_t end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        return to_utf8(text);
    }
}

}  // namespace tastomat
