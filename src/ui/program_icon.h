#pragma once
// The program's icon at the two sizes the system shows it at: large for Alt+Tab and the
// window classes, small for title bars and the notification area. One owner for the run;
// every window that shows it borrows it from there.
#include <windows.h>

#include "platform/win32/scoped.h"

namespace tastomat::ui {

class ProgramIcon {
  public:
    // Loaded from this executable's resources; without that resource both are null and the
    // windows show the system's default.
    explicit ProgramIcon(int resource_id);

    HICON large() const { return large_.get(); }
    HICON small() const { return small_.get(); }

  private:
    ScopedIcon large_;
    ScopedIcon small_;
};

}  // namespace tastomat::ui
