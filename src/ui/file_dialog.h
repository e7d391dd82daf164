#pragma once
// What the system's file-open and file-save dialogs share: the fields a caller fills, the
// flags that keep the launcher's working folder where it is, and loading the dialogs on
// first use.
#include <windows.h>

#include <optional>
#include <string>

namespace tastomat::ui {

enum class FileDialogKind { Open, Save };

struct FileDialogFields {
    std::wstring title;        // empty: the system's own
    std::wstring filter;       // "Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*"; empty: none
    std::wstring default_ext;  // without the dot
    std::wstring initial_dir;
    std::wstring file_name;  // proposed
};

// The chosen path, or nothing when the user cancelled or the dialog cannot be shown.
std::optional<std::wstring> show_file_dialog(HWND owner, FileDialogKind kind,
                                             const FileDialogFields& fields);

// The "|"-separated filter as the system wants it: pairs separated by NULs, two at the end.
std::wstring system_filter(const std::wstring& filter);

}  // namespace tastomat::ui
