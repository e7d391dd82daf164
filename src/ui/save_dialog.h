#pragma once
// The system file-save dialog. It never asks before overwriting: the callers that use it
// replace the chosen file on purpose.
#include <windows.h>

#include <optional>
#include <string>

namespace tastomat::ui {

struct SaveDialogOptions {
    std::wstring Filter;      // "Alles (*.*)|*.*"
    std::wstring DefaultExt;  // without the dot
    std::wstring InitialDir;
    std::wstring FileName;  // proposed
};

// The chosen path, or nothing when the user cancelled.
std::optional<std::wstring> choose_save_file(HWND owner, const SaveDialogOptions& options);

}  // namespace tastomat::ui
