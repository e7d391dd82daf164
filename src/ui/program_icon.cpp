#include "ui/program_icon.h"

namespace tastomat::ui {

ProgramIcon::ProgramIcon(int resource_id) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    large_.reset(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(resource_id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    // Drawn at the size it is shown at, not shrunk by the shell from the large one.
    small_.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(resource_id), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0)));
    if (!small_ && large_) small_.reset(CopyIcon(large_.get()));
}

}  // namespace tastomat::ui
