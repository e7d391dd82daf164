#include "ui/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/com_win.h"
#include "platform/win32/system_library.h"

namespace tastomat::ui {
namespace {

const wchar_t* or_null(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::wstring system_filter(const std::wstring& filter) {
    if (filter.empty()) return {};
    std::wstring result = filter;
    for (wchar_t& ch : result)
        if (ch == L'|') ch = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

std::optional<std::wstring> show_file_dialog(HWND owner, FileDialogKind kind,
                                             const FileDialogFields& fields) {
    std::vector<wchar_t> file(32768, L'\0');
    fields.file_name.copy(file.data(), std::min(fields.file_name.size(), file.size() - 1));
    const std::wstring filter = system_filter(fields.filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = or_null(filter);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = or_null(fields.initial_dir);
    ofn.lpstrTitle = or_null(fields.title);
    ofn.lpstrDefExt = or_null(fields.default_ext);
    // The launcher's own working folder must not wander with the dialog.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    const bool save = kind == FileDialogKind::Save;
    if (save) ofn.Flags |= OFN_PATHMUSTEXIST;
    // The file dialogs are loaded when one is first opened (system_library.h); they show
    // the shell's folders, which need COM.
    join_com();
    auto* show = system_function<decltype(GetOpenFileNameW)>(
        L"comdlg32.dll", save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    if (!show || !show(&ofn)) return std::nullopt;
    return std::wstring(file.data());
}

}  // namespace tastomat::ui
