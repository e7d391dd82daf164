#pragma once
// The administrator settings dialog: account name, password and the run-as hotkey.
#include "components/fishotkey_win.h"
#include "ui/window.h"

namespace tastomat {

class TAdmindataform1 : public ui::Window {
  public:
    explicit TAdmindataform1(Tfishotkey& Adminhotkey);

    // Placed at the bottom right above the launcher and shown without being modal.
    void open_from_launcher();

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    Tfishotkey& Adminhotkey_;
};

}  // namespace tastomat
