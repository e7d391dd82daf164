#include "settings_ui/laufwerksform_win.h"

namespace tastomat {
namespace {

constexpr int kClientWidth = 344;
constexpr int kClientHeight = 333;
constexpr int kGroupHeight = 69;
constexpr int kGroupTop = kClientHeight - kGroupHeight;

ui::DesignRect in_group(int x) { return {x, kGroupTop + 16, 92, 41}; }

}  // namespace

Tlaufwerksform::Tlaufwerksform(HWND owner) : ModalForm("laufwerksform", L"Tahoma") {
    create_dialog(L"TTastomatLaufwerksform", L"Laufwerk ausw\u00e4hlen");
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    // Opens where it was designed, in the top-left corner of the screen.
    show_at_designed_position();
    ImageList2 = make_image_list();
    drivelist = std::make_unique<ui::DriveCheckList>(*this, "drivelist",
                                                     ui::DesignRect{0, 0, kClientWidth, kGroupTop});
    drivelist->set_font_face(L"Segoe UI");
    GroupBox1 = std::make_unique<ui::GroupBox>(
        *this, "GroupBox1", ui::DesignRect{0, kGroupTop, kClientWidth, kGroupHeight});
    okbut = std::make_unique<ui::Button>(*this, "okbut", in_group(16), L"OK", ImageList2->icon(0),
                                         IDOK, true);
    okbut->OnClick = [this] { close_with(ui::ModalResult::Ok); };
    Button2 = std::make_unique<ui::Button>(*this, "Button2", in_group(128), L"Abbrechen",
                                           ImageList2->icon(2), IDCANCEL);
    Button2->OnClick = [this] { close_with(ui::ModalResult::Cancel); };
    // "Hilfe" has no topic of its own.
    Button3 = std::make_unique<ui::Button>(*this, "Button3", in_group(240), L"Hilfe",
                                           ImageList2->icon(1));
    set_client_size(kClientWidth, kClientHeight);
    set_focus_control(drivelist->hwnd());
}

std::unique_ptr<ui::ImageList> Tlaufwerksform::make_image_list() const {
    using ui::Glyph;
    return std::make_unique<ui::ImageList>(
        std::vector<Glyph>{Glyph::Ok, Glyph::Help, Glyph::Cancel}, scale(ui::kButtonGlyphSize));
}

void Tlaufwerksform::dpi_changed() {
    // The old pictures go only after the buttons have let go of them.
    auto fresh = make_image_list();
    okbut->set_icon(fresh->icon(0));
    Button3->set_icon(fresh->icon(1));
    Button2->set_icon(fresh->icon(2));
    ImageList2 = std::move(fresh);
}

}  // namespace tastomat
