#include "ui/save_dialog.h"

#include "ui/file_dialog.h"

namespace tastomat::ui {

std::optional<std::wstring> choose_save_file(HWND owner, const SaveDialogOptions& options) {
    return show_file_dialog(
        owner, FileDialogKind::Save,
        {L"", options.Filter, options.DefaultExt, options.InitialDir, options.FileName});
}

}  // namespace tastomat::ui
