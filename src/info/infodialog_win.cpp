#include "info/infodialog_win.h"

#include "info/version.h"
#include "platform/win32/wide.h"
#include "platform/win32/winhttp_client.h"
#include "ui/message_box.h"
#include "ui/save_dialog.h"

namespace tastomat {
namespace {

constexpr const char* kMaker = "Kobaltix";
constexpr const char* kHomepage = "https://www.kobaltix.de/";
constexpr const char* kContact = "tastomat@kobaltix.de";

constexpr int kClientWidth = 489;
constexpr int kClientHeight = 194;
constexpr int kLabelPoints = 9;  // 15 pixels at 120 dpi
constexpr int kShowCommand = 5;  // SW_SHOW
// Indices into the dialog's pictures.
enum Picture { kWeb, kOk, kInstall };

int GetUserLanguage() { return language_of(GetUserDefaultLangID()); }

}  // namespace

Tinfodialog::Tinfodialog(HWND owner, Platform& platform, const UpdateServer& server,
                         ui::DialogShared shared, std::shared_ptr<WindowThread> window)
    : ModalForm("infodialog", L"Tahoma"),
      platform_(platform),
      language_(GetUserLanguage()),
      texts_(texts_for_language(language_)),
      exe_path_(platform.folders.module_path()) {
    using ui::Glyph;
    create_dialog({.class_name = L"TTastomatInfodialog",
                   .caption = L"InfoDialog",
                   .sizable = true,
                   .owner = owner,
                   .icon = &shared.icon,
                   .pictures = {Glyph::Web, Glyph::Ok, Glyph::Install},
                   .help = &shared.help,
                   .topic = {.context = 32000}});

    Http = std::make_shared<WinHttpClient>(server.timeouts, server.proxy);
    worker_ = std::make_unique<HttpWorker>(Http, std::move(window));
    check_ = std::make_unique<UpdateCheck>(
        UpdateCheck::Services{*worker_, platform.files, platform.shell, *this}, texts_,
        server.base_url, exe_path_,
        [this](double& number) { return GetVersionNumber(number, executable_, exe_path_); },
        decimal_separator());
    create_controls();
    set_client_size(kClientWidth, kClientHeight);
    set_focus_control(okbut->hwnd());
    FormCreate();
}

void Tinfodialog::create_controls() {
    using ui::Button;
    using ui::DesignRect;
    using ui::Label;
    auto label = [this](const char* name, int top, const wchar_t* text, const wchar_t* hint) {
        auto made = std::make_unique<Label>(*this, name, DesignRect{38, top, 440, 20}, text);
        made->set_font_face(L"Tahoma", kLabelPoints);
        made->set_hint(hint);
        return made;
    };
    Copyrightlabel = label("Copyrightlabel", 62, L"Copyright \u00a9 Kobaltix",
                           L"Der Programmierer dieses Programmes");
    Homepagelabel =
        label("Homepagelabel", 90, L"Homepage", L"Die Homepage mit interessanten Themen");
    Datumlabel = label("Datumlabel", 37, L"Datum", L"Speicherdatum dieser Version");
    Versionlabel = label("Versionlabel", 14, L"version",
                         L"Geben Sie diese Informationen bei Kontaktaufnahme an");
    Statusbar = std::make_unique<ui::StatusBar>(*this, "Statusbar", 19);

    okbut = std::make_unique<Button>(*this, "okbut", DesignRect{6, 124, 75, 32}, L"&OK", kOk, IDOK,
                                     true);
    okbut->set_font_face(L"Tahoma", kLabelPoints);
    okbut->OnClick = [this] { Okbutclick(); };
    getnewversion = std::make_unique<Button>(*this, "getnewversion", DesignRect{96, 124, 121, 32},
                                             L"&Neue Version", kInstall);
    getnewversion->set_hint(L"Holt eine neue Version dieses Programmes \u00fcber das Internet");
    getnewversion->OnClick = [this] { Getnewversionclick(); };
    homepagebut = std::make_unique<Button>(*this, "homepagebut", DesignRect{228, 124, 110, 32},
                                           L"&Homepage", kWeb);
    homepagebut->set_hint(L"Springt zur Homepage des Autors");
    homepagebut->OnClick = [this] { Homepagebutclick(); };
    emailbut = std::make_unique<Button>(*this, "emailbut", DesignRect{354, 124, 120, 32},
                                        L"&Mail schreiben", kWeb);
    emailbut->set_hint(L"Schreibt E-Mail an den Autor");
    emailbut->OnClick = [this] { Emailbutclick(); };
}

void Tinfodialog::FormCreate() {
    Homepage = kHomepage;
    Mailadresse = std::string("\"") + kMaker + "\" <" + kContact + ">";
    if (language_ == 0) return;
    const InfoButtonCaptions captions = button_captions(language_);
    getnewversion->set_caption(to_wide(captions.getnewversion));
    homepagebut->set_caption(to_wide(captions.homepagebut));
    emailbut->set_caption(to_wide(captions.emailbut));
}

void Tinfodialog::FormShow() {
    const InfoTexts& texts = texts_;
    set_caption(to_wide(texts.caption_prefix) + ui::kProgramTitle);
    GetVersionText(Version, executable_, exe_path_);
    Versionlabel->set_window_text(L"Version : " + to_wide(Version));
    Homepagelabel->set_window_text(L"Homepage: " + to_wide(Homepage));
    const auto written = executable_.last_written(exe_path_);
    const std::string date = written ? file_date_text(*written, platform_.clock) : std::string();
    Datumlabel->set_window_text(to_wide(texts.date_prefix + date));
}

void Tinfodialog::ShowModal() {
    FormShow();
    show_modal();
}

void Tinfodialog::Okbutclick() { close_dialog(); }

void Tinfodialog::close_dialog() {
    // The user is done with the dialog: a check under way ends now, whatever the server
    // still does; its worker finishes alone.
    check_->cancel();
    close_with(ui::ModalResult::Ok);
}

void Tinfodialog::Homepagebutclick() { platform_.shell.open_document(Homepage, kShowCommand); }

void Tinfodialog::Emailbutclick() {
    platform_.shell.open_document("mailto:" + Mailadresse, kShowCommand);
}

void Tinfodialog::Getnewversionclick() { check_->Getnewversionclick(); }

void Tinfodialog::inform(const std::string& text) { ui::show_information(hwnd(), to_wide(text)); }

bool Tinfodialog::ask(const std::string& text) { return ui::ask_yes_no(hwnd(), to_wide(text)); }

std::optional<std::string> Tinfodialog::save_archive_as(const ArchiveSaveRequest& request) {
    const auto chosen =
        ui::choose_save_file(hwnd(), {to_wide(request.filter), to_wide(request.default_ext),
                                      to_wide(request.initial_dir), to_wide(request.file_name)});
    if (!chosen) return std::nullopt;
    return to_utf8(*chosen);
}

void Tinfodialog::show_progress(const std::string& text) { Statusbar->set_status(to_wide(text)); }

LRESULT Tinfodialog::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    // No cancel button: Escape does nothing.
    if (ui::escape_command(msg, wp, lp)) return 0;
    switch (msg) {
        case WM_CLOSE:
            close_dialog();
            return 0;
        case WM_SIZE:
            if (Statusbar) Statusbar->layout();
            break;
        case WM_HELP:
            show_help();
            return TRUE;
    }
    return ModalForm::on_message(msg, wp, lp);
}

}  // namespace tastomat
