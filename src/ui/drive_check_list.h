#pragma once
// The system's drives as the shell shows them, large icon and name, each with a check
// box. Names cannot be edited and entries cannot be dragged; a click selects the whole
// entry, and the check box follows the mouse or the space bar. Every drive shows at once by
// its letter and the network drive's icon; its name and icon replace them when the shell
// has given them, which for a share out of reach may be never.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/window_thread.h"
#include "support/drive_labels.h"
#include "ui/controls.h"

namespace tastomat::ui {

class DriveCheckList : public Control {
  public:
    // window: the thread of the form, where the drives' names come back.
    DriveCheckList(Form& form, std::string name, DesignRect rect,
                   const std::shared_ptr<WindowThread>& window);

    // Root paths of the checked drives ("E:\"), in ascending order.
    std::vector<std::string> checked_roots() const;
    // The drives shown, as root paths, in the order shown.
    const std::vector<std::wstring>& roots() const { return roots_; }

  private:
    void fill(const std::shared_ptr<WindowThread>& window);
    void show_label(std::size_t index, const DriveLabel& label);
    std::vector<std::wstring> roots_;
    // Names that come after the list has gone are dropped.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tastomat::ui
