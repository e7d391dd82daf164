#include "ui/secret_field.h"

namespace tastomat::ui {

WideSecret secret_window_text(HWND window) {
    // The length may be reported larger than the text, never smaller.
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    WideSecret text = WideSecret::with_capacity(static_cast<std::size_t>(length));
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.set_size(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace tastomat::ui
