#pragma once
// The system's drives as the shell shows them, large icon and name, each with a check
// box. Names cannot be edited and entries cannot be dragged; a click selects the whole
// entry, and the check box follows the mouse or the space bar. A drive whose name does not
// come in time shows its letter and the network drive's icon.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace tastomat::ui {

class DriveCheckList : public Control {
  public:
    DriveCheckList(Form& form, std::string name, DesignRect rect);

    // Root paths of the checked drives ("E:\"), in ascending order.
    std::vector<std::string> checked_roots() const;
    // The drives shown, as root paths, in the order shown.
    const std::vector<std::wstring>& roots() const { return roots_; }

  private:
    void fill();
    std::vector<std::wstring> roots_;
};

}  // namespace tastomat::ui
