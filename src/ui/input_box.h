#pragma once
// A one-line input box: caption, prompt, an edit pre-filled with the value, "OK" and
// "Abbrechen".
#include <windows.h>

#include <string>

namespace tastomat::ui {

// True when the user confirmed; value then holds the text as typed.
bool input_query(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                 std::wstring& value);

}  // namespace tastomat::ui
