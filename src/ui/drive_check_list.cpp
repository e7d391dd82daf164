#include "ui/drive_check_list.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>

#include "platform/win32/wide.h"

namespace tastomat::ui {
namespace {

std::vector<std::wstring> logical_drive_roots() {
    std::vector<wchar_t> buffer(128);
    for (;;) {
        const DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return {};
        if (n < buffer.size()) break;
        buffer.resize(n + 1);
    }
    std::vector<std::wstring> roots;
    for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) roots.emplace_back(p);
    std::sort(roots.begin(), roots.end());
    return roots;
}

}  // namespace

DriveCheckList::DriveCheckList(Form& form, std::string name, DesignRect rect, Drives& drives)
    : Control(form, std::move(name), ControlKind::Other, rect) {
    // The shell's own image list is shared by every window of the process: never ours to
    // destroy.
    create_window(WC_LISTVIEWW, L"",
                  WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE | LVS_ALIGNTOP |
                      LVS_SHAREIMAGELISTS,
                  WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    SetWindowTheme(hwnd(), L"Explorer", nullptr);
    fill(drives);
}

void DriveCheckList::fill(Drives& drives) {
    // The shell looks at each drive for its name: an empty card reader must not answer
    // with the system's "no disk" box.
    QuietDriveErrors quiet(drives);
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    if (images) ListView_SetImageList(hwnd(), images, LVSIL_NORMAL);
    roots_ = logical_drive_roots();
    for (size_t i = 0; i < roots_.size(); ++i) {
        SHFILEINFOW drive{};
        const bool known =
            SHGetFileInfoW(roots_[i].c_str(), 0, &drive, sizeof drive,
                           SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_LARGEICON) != 0;
        std::wstring text = known && drive.szDisplayName[0] ? drive.szDisplayName : roots_[i];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = text.data();
        item.iImage = known ? drive.iIcon : 0;
        item.lParam = static_cast<LPARAM>(i);
        ListView_InsertItem(hwnd(), &item);
    }
    if (!roots_.empty())
        ListView_SetItemState(hwnd(), 0, LVIS_FOCUSED | LVIS_SELECTED,
                              LVIS_FOCUSED | LVIS_SELECTED);
}

std::vector<std::string> DriveCheckList::checked_roots() const {
    std::vector<std::string> checked;
    const int count = ListView_GetItemCount(hwnd());
    for (int i = 0; i < count; ++i) {
        if (!ListView_GetCheckState(hwnd(), i)) continue;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (!ListView_GetItem(hwnd(), &item)) continue;
        const auto index = static_cast<size_t>(item.lParam);
        if (index < roots_.size()) checked.push_back(to_utf8(roots_[index]));
    }
    std::sort(checked.begin(), checked.end());
    return checked;
}

}  // namespace tastomat::ui
