#include "settings_ui/parameterform_win.h"

#include "platform/win32/wide.h"
#include "settings_ui/slot_editing.h"
#include "ui/application.h"
#include "ui/open_dialog.h"

namespace tastomat {
namespace {}

Tparameterform::Tparameterform(HWND owner, FileSystem& files)
    : ModalForm("parameterform", L"Tahoma"), files_(files) {
    create_dialog(L"TTastomatParameterform", L"Parameter");
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    using ui::Glyph;
    ImageList2 = std::make_unique<ui::ImageList>(
        // The last one is the folder field's own button.
        std::vector<Glyph>{Glyph::Ok, Glyph::Help, Glyph::Cancel, Glyph::Parameter, Glyph::Browse},
        scale(ui::kButtonGlyphSize));
    Label1 =
        std::make_unique<ui::Label>(*this, "Label1", ui::DesignRect{24, 8, 305, 18}, L"Parameter:");
    parameter = std::make_unique<ui::ButtonEdit>(
        *this, "parameter", ui::DesignRect{24, 26, 305, 24}, ImageList2->icon(3));
    parameter->OnButtonClick = [this] { parameterRightButtonClick(); };
    Label2 = std::make_unique<ui::Label>(*this, "Label2", ui::DesignRect{24, 56, 305, 18},
                                         L"Verzeichnis:");
    verzeichnis = std::make_unique<ui::FolderPathEdit>(
        *this, "verzeichnis", ui::DesignRect{24, 78, 305, 22}, ImageList2->icon(4));
    verzeichnis->set_font_face(L"Segoe UI");
    okbut = std::make_unique<ui::Button>(*this, "okbut", ui::DesignRect{24, 136, 75, 35}, L"OK",
                                         ImageList2->icon(0), IDOK, true);
    okbut->OnClick = [this] { close_with(ui::ModalResult::Ok); };
    BitBtn1 = std::make_unique<ui::Button>(*this, "BitBtn1", ui::DesignRect{123, 136, 106, 35},
                                           L"Abbrechen", ImageList2->icon(2), IDCANCEL);
    BitBtn1->OnClick = [this] { close_with(ui::ModalResult::Cancel); };
    helpbut = std::make_unique<ui::Button>(*this, "helpbut", ui::DesignRect{244, 136, 92, 35},
                                           L"&Hilfe", ImageList2->icon(1));
    helpbut->OnClick = [this] { Helpbutclick(); };
    set_client_size(347, 181);
    set_focus_control(parameter->hwnd());
}

void Tparameterform::parameterRightButtonClick() {
    ui::OpenDialog dialog;
    if (!dialog.Execute(hwnd())) return;
    parameter->set_text(add_parameter_file(parameter->text(), to_utf8(dialog.FileName), files_));
}

void Tparameterform::Helpbutclick() { ui::Application::instance().show_help(600); }

}  // namespace tastomat
