#include "ui/folder_dialog.h"

#include <shlobj.h>

#include "platform/win32/com_win.h"
#include "platform/win32/scoped.h"

namespace tastomat::ui {
namespace {

int CALLBACK preselect_folder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::optional<std::wstring> choose_folder(HWND owner, const std::wstring& text,
                                          const std::wstring& preselect) {
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.pidlRoot = nullptr;  // the desktop
    bi.pszDisplayName = display;
    bi.lpszTitle = text.c_str();
    bi.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON | BIF_RETURNONLYFSDIRS;
    if (!preselect.empty()) {
        bi.lpfn = &preselect_folder;
        bi.lParam = reinterpret_cast<LPARAM>(preselect.c_str());
    }
    join_com();
    const ScopedCoTaskMem<ITEMIDLIST> pidl(SHBrowseForFolderW(&bi));
    if (!pidl) return std::nullopt;
    wchar_t path[MAX_PATH * 2] = {};
    if (!SHGetPathFromIDListW(pidl.get(), path)) return std::nullopt;
    return std::wstring(path);
}

}  // namespace tastomat::ui
