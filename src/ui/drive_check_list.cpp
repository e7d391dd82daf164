#include "ui/drive_check_list.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>

#include "platform/win32/drives_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "support/drive_labels.h"

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

// On a worker of its own: the shell wants COM on the thread that asks it, and an empty card
// reader must not answer with the system's "no disk" box.
std::optional<DriveLabel> shell_label(const std::string& root) {
    const ScopedCom com;
    const QuietThreadErrors quiet;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(to_wide(root).c_str(), 0, &info, sizeof info,
                        SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_LARGEICON))
        return std::nullopt;
    return DriveLabel{to_utf8(info.szDisplayName), info.iIcon};
}

// The stock network drive's icon, found without asking any drive. Where the system gives
// no index for it, the one it gives a folder that it did not look at (fallback).
int generic_drive_icon(int fallback) {
    SHSTOCKICONINFO stock{};
    stock.cbSize = sizeof stock;
    const bool found = SUCCEEDED(SHGetStockIconInfo(SIID_DRIVENET, SHGSI_SYSICONINDEX, &stock));
    return found && stock.iSysImageIndex >= 0 ? stock.iSysImageIndex : fallback;
}

// One for the process: a share that never answers is asked once, not at each opening.
DriveLabeler& labeler() {
    static DriveLabeler shell(shell_label);
    return shell;
}

}  // namespace

DriveCheckList::DriveCheckList(Form& form, std::string name, DesignRect rect,
                               const std::shared_ptr<WindowThread>& window)
    : Control(form, std::move(name), ControlKind::Other, rect) {
    // The shell's own image list is shared by every window of the process: never ours to
    // destroy.
    create_window(WC_LISTVIEWW, L"",
                  WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE | LVS_ALIGNTOP |
                      LVS_SHAREIMAGELISTS,
                  WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    SetWindowTheme(hwnd(), L"Explorer", nullptr);
    fill(window);
}

void DriveCheckList::fill(const std::shared_ptr<WindowThread>& window) {
    // The list of the system's images, without touching any drive to get it.
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    if (images) ListView_SetImageList(hwnd(), images, LVSIL_NORMAL);
    roots_ = logical_drive_roots();
    std::vector<std::string> roots;
    for (const std::wstring& root : roots_) roots.push_back(to_utf8(root));
    const int generic_icon = generic_drive_icon(images ? info.iIcon : 0);
    for (size_t i = 0; i < roots.size(); ++i) {
        const DriveLabel label = placeholder_label(roots[i], generic_icon);
        std::wstring text = to_wide(label.text);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = text.data();
        item.iImage = label.icon;
        item.lParam = static_cast<LPARAM>(i);
        ListView_InsertItem(hwnd(), &item);
    }
    labeler().ask(
        roots, window,
        [this, alive = std::weak_ptr<int>(alive_)](size_t index, const DriveLabel& label) {
            if (!alive.expired()) show_label(index, label);
        });
    if (!roots_.empty())
        ListView_SetItemState(hwnd(), 0, LVIS_FOCUSED | LVIS_SELECTED,
                              LVIS_FOCUSED | LVIS_SELECTED);
}

void DriveCheckList::show_label(size_t index, const DriveLabel& label) {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(index);
    const int at = ListView_FindItem(hwnd(), -1, &find);
    if (at < 0) return;
    std::wstring text = to_wide(label.text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = at;
    item.pszText = text.data();
    item.iImage = label.icon;
    ListView_SetItem(hwnd(), &item);
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
