#include "ui/save_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/com_win.h"
#include "platform/win32/system_library.h"
#include "ui/open_dialog.h"

namespace tastomat::ui {

std::optional<std::wstring> choose_save_file(HWND owner, const SaveDialogOptions& options) {
    std::vector<wchar_t> file(32768, L'\0');
    options.FileName.copy(file.data(), std::min(options.FileName.size(), file.size() - 1));
    const std::wstring filter = system_filter(options.Filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = options.InitialDir.empty() ? nullptr : options.InitialDir.c_str();
    ofn.lpstrDefExt = options.DefaultExt.empty() ? nullptr : options.DefaultExt.c_str();
    // The launcher's own working folder must not wander with the dialog.
    ofn.Flags =
        OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    // The file dialogs are loaded when one is first opened (system_library.h); they show
    // the shell's folders, which need COM.
    join_com();
    auto* show = system_function<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    if (!show || !show(&ofn)) return std::nullopt;
    return std::wstring(file.data());
}

}  // namespace tastomat::ui
