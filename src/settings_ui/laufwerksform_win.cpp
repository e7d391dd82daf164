#include "settings_ui/laufwerksform_win.h"

namespace tastomat {
namespace {

constexpr ui::ButtonGroupLayout kLayout{344, 333, 69};

ui::DesignRect in_group(int x) { return kLayout.in_group(x, 16, 92, 41); }

}  // namespace

Tlaufwerksform::Tlaufwerksform(HWND owner, const std::shared_ptr<WindowThread>& window)
    : ModalForm("laufwerksform", L"Tahoma") {
    create_dialog(L"TTastomatLaufwerksform", L"Laufwerk ausw\u00e4hlen");
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    // Opens where it was designed, in the top-left corner of the screen.
    show_at_designed_position();
    ImageList2 = make_image_list();
    drivelist = std::make_unique<ui::DriveCheckList>(*this, "drivelist", kLayout.content(), window);
    drivelist->set_font_face(L"Segoe UI");
    GroupBox1 = std::make_unique<ui::GroupBox>(*this, "GroupBox1", kLayout.group());
    okbut = std::make_unique<ui::Button>(*this, "okbut", in_group(16), L"OK", ImageList2->icon(0),
                                         IDOK, true);
    okbut->OnClick = [this] { close_with(ui::ModalResult::Ok); };
    Button2 = std::make_unique<ui::Button>(*this, "Button2", in_group(128), L"Abbrechen",
                                           ImageList2->icon(2), IDCANCEL);
    Button2->OnClick = [this] { close_with(ui::ModalResult::Cancel); };
    // "Hilfe" has no topic of its own.
    Button3 = std::make_unique<ui::Button>(*this, "Button3", in_group(240), L"Hilfe",
                                           ImageList2->icon(1));
    set_client_size(kLayout.width, kLayout.height);
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
