#include "ui/open_dialog.h"

#include <utility>

#include "ui/file_dialog.h"

namespace tastomat::ui {

bool OpenDialog::Execute(HWND owner) {
    auto chosen = show_file_dialog(owner, FileDialogKind::Open,
                                   {Title, Filter, DefaultExt, InitialDir, FileName});
    if (!chosen) return false;
    FileName = std::move(*chosen);
    return true;
}

}  // namespace tastomat::ui
