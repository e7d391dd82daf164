#pragma once
// A status bar along the bottom edge of its form, with one line of text.
#include <windows.h>

#include <string>

#include "ui/controls.h"

namespace tastomat::ui {

class StatusBar : public Control {
  public:
    // height: in 120-dpi pixels; the bar keeps itself at the bottom edge.
    StatusBar(Form& form, std::string name, int height);
    void set_status(const std::wstring& text);
    // After the form changed its size or dpi.
    void layout() override;

  private:
    int height_;
};

}  // namespace tastomat::ui
