#pragma once
// RAII owners for the Win32 handles the UI layer holds.
#include <windows.h>

#include <utility>

namespace tastomat::ui {

template <typename H, typename Deleter>
class Scoped {
  public:
    Scoped() = default;
    explicit Scoped(H h) : h_(h) {}
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    Scoped& operator=(Scoped&& o) noexcept {
        reset(std::exchange(o.h_, H{}));
        return *this;
    }
    ~Scoped() { reset(); }

    void reset(H h = H{}) {
        if (h_) Deleter{}(h_);
        h_ = h;
    }
    H get() const { return h_; }
    H release() { return std::exchange(h_, H{}); }
    explicit operator bool() const { return h_ != H{}; }

  private:
    H h_{};
};

struct GdiDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct HandleDeleter {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

using ScopedBrush = Scoped<HBRUSH, GdiDeleter>;
using ScopedFont = Scoped<HFONT, GdiDeleter>;
using ScopedRegion = Scoped<HRGN, GdiDeleter>;
using ScopedIcon = Scoped<HICON, IconDeleter>;
using ScopedMenu = Scoped<HMENU, MenuDeleter>;
using ScopedHandle = Scoped<HANDLE, HandleDeleter>;

}  // namespace tastomat::ui
