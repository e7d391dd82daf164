#pragma once
// The administrator settings: the account a run-as start logs on as, and the run-as
// hotkey. Nothing of it is stored; after every program start the fields are empty and the
// run-as hotkey has no key until one is pressed in "Tastenkürzel:".
#include <functional>
#include <memory>
#include <string>

#include "components/fishotkey_win.h"
#include "platform/keyboard_layout.h"
#include "platform/shell.h"
#include "platform/win32/account_start_win.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tastomat {

class TAdmindataform1 : public ui::Form, public AccountStarter {
  public:
    // on_hotkey_set: after a key-down in "Tastenkürzel:" has set the run-as hotkey.
    TAdmindataform1(Tfishotkey& Adminhotkey, KeyboardLayout& keyboard, ui::DialogShared shared,
                    std::function<void()> on_hotkey_set);
    ~TAdmindataform1() override;

    // Placed at the bottom right above the launcher and shown without being modal; above
    // the launcher while active, an ordinary window otherwise.
    void open_from_launcher();

    // Starts exe with param in dir under the account in the fields; true when the system
    // created the process. Throws FileError, starting nothing, when dir is no directory.
    bool Runas(const std::string& exe, const std::string& dir, const std::string& param);
    // The account as the fields hold it now, for a start made off the window's thread.
    Account account() const;
    bool run_as(const std::string& exe, const std::string& dir, const std::string& param) override {
        return Runas(exe, dir, param);
    }

    // Handlers.
    void FormCreate();
    void kuerzelKeyDown(WORD Key, ShiftState Shift);

    std::unique_ptr<ui::LabeledEdit> benutzername, passwort, kuerzel;
    std::unique_ptr<ui::Button> Button1, Button2;

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void create_controls();
    void hide();

    Tfishotkey& Adminhotkey_;
    KeyboardLayout& keyboard_;
    std::function<void()> on_hotkey_set_;
};

}  // namespace tastomat
