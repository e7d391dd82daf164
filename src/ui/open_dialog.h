#pragma once
// The system file-open dialog as a lasting object: its file name stays from one use to
// the next, as a chooser kept by a window does.
#include <windows.h>

#include <string>

namespace tastomat::ui {

class OpenDialog {
  public:
    std::wstring Title;       // empty: the system's own
    std::wstring Filter;      // "Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*"; empty: none
    std::wstring DefaultExt;  // without the dot
    std::wstring InitialDir;
    std::wstring FileName;

    // True when the user confirmed a file; FileName then holds it.
    bool Execute(HWND owner);
};

}  // namespace tastomat::ui
