#pragma once
// Reading a password field without leaving copies of its text behind.
#include <windows.h>

#include "support/secret_text.h"

namespace tastomat::ui {

// The window's text written straight into a buffer that is zeroed when it goes, with no
// std::wstring or UTF-8 copy on the way. The edit control keeps its own text, which the
// user typed and sees.
WideSecret secret_window_text(HWND window);

}  // namespace tastomat::ui
