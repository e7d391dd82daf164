#pragma once
// The system folder chooser in its new style, file-system folders only and without a
// button for making a folder.
#include <windows.h>

#include <optional>
#include <string>

namespace tastomat::ui {

// Rooted at the desktop; preselect is selected when not empty. The chosen folder as the
// system returns it (no backslash added), or nothing when the user cancels.
std::optional<std::wstring> choose_folder(HWND owner, const std::wstring& text,
                                          const std::wstring& preselect = {});

}  // namespace tastomat::ui
