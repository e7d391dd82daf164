#pragma once
// The dialog for a slot's parameters and working directory; it lives only while the
// settings window's command that opened it runs.
#include <windows.h>

#include <memory>

#include "platform/file_system.h"
#include "ui/button_edit.h"
#include "ui/controls.h"
#include "ui/modal_form.h"

namespace tastomat {

class Tparameterform : public ui::ModalForm {
  public:
    // owner: the settings window, which the dialog stays above; files: where a chosen
    // parameter file is looked up.
    Tparameterform(HWND owner, FileSystem& files, ui::ProgramHelp& help);

    void parameterRightButtonClick();
    void Helpbutclick() { show_help(); }

    std::unique_ptr<ui::Label> Label1;
    std::unique_ptr<ui::ButtonEdit> parameter;
    std::unique_ptr<ui::Label> Label2;
    std::unique_ptr<ui::FolderPathEdit> verzeichnis;
    std::unique_ptr<ui::Button> okbut, BitBtn1, helpbut;

  private:
    FileSystem& files_;
};

}  // namespace tastomat
