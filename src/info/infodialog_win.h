#pragma once
// The info dialog: which program and version runs, when its file was written, who made
// it; opens the homepage, a mail to the maker, and checks the server for a newer version.
// Made afresh for every "&Info" click and gone when it closes.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "info/http_worker.h"
#include "info/info_texts.h"
#include "info/update_check.h"
#include "info/update_server.h"
#include "platform/http_client.h"
#include "platform/platform.h"
#include "platform/win32/executable_file_win.h"
#include "platform/window_thread.h"
#include "ui/controls.h"
#include "ui/modal_form.h"
#include "ui/status_bar.h"

namespace tastomat {

class Tinfodialog : public ui::ModalForm, private UpdateDialog {
  public:
    // owner: the settings window, which the dialog is centred over and stays above;
    // window: where the update check's answers come back, on this dialog's thread.
    Tinfodialog(HWND owner, Platform& platform, const UpdateServer& server, ui::DialogShared shared,
                std::shared_ptr<WindowThread> window);

    // Shows the dialog and returns when it has closed.
    void ShowModal();

    // Handlers.
    void FormCreate();
    void FormShow();
    void Okbutclick();
    void Homepagebutclick();
    void Emailbutclick();
    void Getnewversionclick();

    // Components, in declaration order.
    std::unique_ptr<ui::Label> Copyrightlabel, Homepagelabel, Datumlabel, Versionlabel;
    // Shared with the request's worker thread, which may outlive the dialog when it
    // closes during a check.
    std::shared_ptr<HttpClient> Http;
    std::unique_ptr<ui::StatusBar> Statusbar;
    std::unique_ptr<ui::Button> okbut, getnewversion, homepagebut, emailbut;

    std::string Version;
    std::string Homepage;
    std::string Mailadresse;
    const std::string& Zipname() const { return check_->Zipname; }

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void create_controls();
    // Closing ends a running check at once.
    void close_dialog();

    // The update check's side of the dialog.
    void inform(const std::string& text) override;
    bool ask(const std::string& text) override;
    std::optional<std::string> save_archive_as(const ArchiveSaveRequest& request) override;
    void show_progress(const std::string& text) override;

    Platform& platform_;
    // The user's language does not change while the program runs.
    const int language_;
    const InfoTexts& texts_;
    WinExecutableFile executable_;
    std::string exe_path_;
    std::unique_ptr<HttpWorker> worker_;
    std::unique_ptr<UpdateCheck> check_;
};

}  // namespace tastomat
