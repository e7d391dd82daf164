#pragma once
// The program's button and menu icons, drawn in code: 32-bit with alpha, sharp at any
// size because they are painted for the size asked, never scaled from a bitmap.
#include <windows.h>

#include <vector>

#include "platform/win32/scoped.h"

namespace tastomat::ui {

enum class Glyph {
    Ok,         // green tick
    Info,       // blue disc with "i"
    Help,       // blue disc with "?"
    Drive,      // grey drive with a green lamp
    Parameter,  // sheet with lines
    Delete,     // red cross
    Install,    // arrow down into a tray
    Cancel,     // red disc with a white bar
    Browse,     // yellow folder
    Web,        // blue globe
};

// The size of a button's picture in the 120-dpi layouts; every dialog uses the same.
inline constexpr int kButtonGlyphSize = 20;

// The pictures of a window's buttons and menu items: 32-bit icons with transparency, and
// the same pictures as bitmaps for menus, built from glyphs in index order.
class ImageList {
  public:
    ImageList(const std::vector<Glyph>& glyphs, int size);
    int size() const { return size_; }
    int count() const { return static_cast<int>(icons_.size()); }
    HICON icon(int index) const { return icons_.at(static_cast<size_t>(index)).get(); }
    // A premultiplied 32-bit bitmap of the icon, as menus draw them.
    HBITMAP bitmap(int index) const { return bitmaps_.at(static_cast<size_t>(index)).get(); }

  private:
    int size_;
    std::vector<ScopedIcon> icons_;
    std::vector<ScopedBitmap> bitmaps_;
};

}  // namespace tastomat::ui
