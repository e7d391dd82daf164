#include "settings_ui/laufwerksform_win.h"

namespace tastomat {
namespace {

constexpr ui::ButtonGroupLayout kLayout{344, 333, 69};

ui::DesignRect in_group(int x) { return kLayout.in_group(x, 16, 92, 41); }

// Indices into the dialog's pictures.
enum Picture { kOk, kHelp, kCancel };

}  // namespace

Tlaufwerksform::Tlaufwerksform(HWND owner, const std::shared_ptr<WindowThread>& window)
    : ModalForm("laufwerksform", L"Tahoma") {
    using ui::Glyph;
    create_dialog({.class_name = L"TTastomatLaufwerksform",
                   .caption = L"Laufwerk ausw\u00e4hlen",
                   .owner = owner,
                   // In the top-left corner of the screen.
                   .placement = ui::Placement::as_designed,
                   .pictures = {Glyph::Ok, Glyph::Help, Glyph::Cancel}});
    drivelist = std::make_unique<ui::DriveCheckList>(*this, "drivelist", kLayout.content(), window);
    drivelist->set_font_face(L"Segoe UI");
    GroupBox1 = std::make_unique<ui::GroupBox>(*this, "GroupBox1", kLayout.group());
    okbut = std::make_unique<ui::Button>(*this, "okbut", in_group(16), L"OK", kOk, IDOK, true);
    okbut->OnClick = [this] { close_with(ui::ModalResult::Ok); };
    Button2 = std::make_unique<ui::Button>(*this, "Button2", in_group(128), L"Abbrechen", kCancel,
                                           IDCANCEL);
    Button2->OnClick = [this] { close_with(ui::ModalResult::Cancel); };
    // "Hilfe" has no topic of its own.
    Button3 = std::make_unique<ui::Button>(*this, "Button3", in_group(240), L"Hilfe", kHelp);
    set_client_size(kLayout.width, kLayout.height);
    set_focus_control(drivelist->hwnd());
}

}  // namespace tastomat
