#pragma once
// A tooltip control with one tool per window it describes; the text of each tool can change.
#include <windows.h>

#include <string>

namespace tastomat::ui {

class Tooltip {
  public:
    Tooltip() = default;
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;
    ~Tooltip();

    // owner may be null: a tooltip without owner leaves its window's ownership as it is.
    // max_width in pixels lets texts of several lines break only where they say so.
    void create(HWND owner, int max_width);
    explicit operator bool() const { return hwnd_ != nullptr; }
    void set_max_width(int pixels);

    // Describes the window `tool` (a control of `parent`, or `parent` itself).
    void add(HWND parent, HWND tool, const std::wstring& text);
    void set_text(HWND parent, HWND tool, const std::wstring& text);
    // Hands the tooltip a mouse message it could not see itself: the one during which it
    // was made.
    void relay(HWND window, UINT msg, WPARAM wp, LPARAM lp);

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace tastomat::ui
