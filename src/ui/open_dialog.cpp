#include "ui/open_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/com_win.h"
#include "platform/win32/system_library.h"

namespace tastomat::ui {

std::wstring system_filter(const std::wstring& filter) {
    if (filter.empty()) return {};
    std::wstring result = filter;
    for (wchar_t& ch : result)
        if (ch == L'|') ch = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

bool OpenDialog::Execute(HWND owner) {
    std::vector<wchar_t> file(32768, L'\0');
    FileName.copy(file.data(), std::min(FileName.size(), file.size() - 1));
    const std::wstring filter = system_filter(Filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    // The launcher's own working folder must not wander with the dialog.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    // The file dialogs are loaded when one is first opened (system_library.h); they show
    // the shell's folders, which need COM.
    join_com();
    auto* show = system_function<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!show || !show(&ofn)) return false;
    FileName = file.data();
    return true;
}

}  // namespace tastomat::ui
