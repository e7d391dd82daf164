#pragma once
// The drive dialog of the settings window: the user checks the drives the table's paths
// should move to. It lives only while the settings window's command that opened it runs.
#include <windows.h>

#include <memory>

#include "platform/window_thread.h"
#include "ui/controls.h"
#include "ui/drive_check_list.h"
#include "ui/modal_form.h"

namespace tastomat {

class Tlaufwerksform : public ui::ModalForm {
  public:
    // owner: the settings window, which the dialog stays above; window: its thread, where
    // the drives' names come back.
    Tlaufwerksform(HWND owner, const std::shared_ptr<WindowThread>& window);

    std::unique_ptr<ui::DriveCheckList> drivelist;
    std::unique_ptr<ui::GroupBox> GroupBox1;
    std::unique_ptr<ui::Button> okbut, Button2, Button3;
};

}  // namespace tastomat
