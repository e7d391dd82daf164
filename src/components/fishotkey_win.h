#pragma once
// A system-wide hotkey: registered for a private window of its own, so that two
// components never share an identifier; fires Onhotkey on the creating thread.
#include <functional>

#include "components/shortcut.h"
#include "ui/window.h"

namespace tastomat {

class Tfishotkey : private ui::Window {
  public:
    Tfishotkey();
    ~Tfishotkey() override;

    bool Enabled() const { return Fenabled; }
    void SetEnabled(bool Value);
    TShortCut Key() const { return Fhotkey; }
    void SetKey(TShortCut Value);
    bool Registered() const { return Fregistered; }

    std::function<void(Tfishotkey& sender)> Onhotkey;

    // Registers once the owner has set Key and Enabled.
    void Loaded();

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void Prregister();
    void Prunregister();

    bool Fenabled = true;
    bool Fregistered = false;
    TShortCut Fhotkey = 0;
};

}  // namespace tastomat
