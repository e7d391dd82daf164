#include "settings_ui/parameterform_win.h"

#include "platform/win32/wide.h"
#include "settings_ui/slot_editing.h"
#include "ui/open_dialog.h"

namespace tastomat {
namespace {
// Indices into the dialog's pictures.
enum Picture { kOk, kHelp, kCancel, kParameterFile, kFolder };
}  // namespace

Tparameterform::Tparameterform(HWND owner, FileSystem& files, ui::ProgramHelp& help)
    : ModalForm("parameterform", L"Tahoma"), files_(files) {
    using ui::Glyph;
    create_dialog(
        {.class_name = L"TTastomatParameterform",
         .caption = L"Parameter",
         .owner = owner,
         .pictures = {Glyph::Ok, Glyph::Help, Glyph::Cancel, Glyph::Parameter, Glyph::Browse},
         .help = &help,
         .topic = {.context = 600}});
    Label1 =
        std::make_unique<ui::Label>(*this, "Label1", ui::DesignRect{24, 8, 305, 18}, L"Parameter:");
    parameter = std::make_unique<ui::ButtonEdit>(*this, "parameter",
                                                 ui::DesignRect{24, 26, 305, 24}, kParameterFile);
    parameter->OnButtonClick = [this] { parameterRightButtonClick(); };
    Label2 = std::make_unique<ui::Label>(*this, "Label2", ui::DesignRect{24, 56, 305, 18},
                                         L"Verzeichnis:");
    verzeichnis = std::make_unique<ui::FolderPathEdit>(*this, "verzeichnis",
                                                       ui::DesignRect{24, 78, 305, 22}, kFolder);
    verzeichnis->set_font_face(L"Segoe UI");
    okbut = std::make_unique<ui::Button>(*this, "okbut", ui::DesignRect{24, 136, 75, 35}, L"OK",
                                         kOk, IDOK, true);
    okbut->OnClick = [this] { close_with(ui::ModalResult::Ok); };
    BitBtn1 = std::make_unique<ui::Button>(*this, "BitBtn1", ui::DesignRect{123, 136, 106, 35},
                                           L"Abbrechen", kCancel, IDCANCEL);
    BitBtn1->OnClick = [this] { close_with(ui::ModalResult::Cancel); };
    helpbut = std::make_unique<ui::Button>(*this, "helpbut", ui::DesignRect{244, 136, 92, 35},
                                           L"&Hilfe", kHelp);
    helpbut->OnClick = [this] { Helpbutclick(); };
    set_client_size(347, 181);
    set_focus_control(parameter->hwnd());
}

void Tparameterform::parameterRightButtonClick() {
    ui::OpenDialog dialog;
    if (!dialog.Execute(hwnd())) return;
    parameter->set_text(add_parameter_file(parameter->text(), to_utf8(dialog.FileName), files_));
}

}  // namespace tastomat
