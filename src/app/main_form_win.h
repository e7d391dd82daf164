#pragma once
// The launcher window: a small red badge in the top-left corner that waits for the key
// of a slot. Hidden most of the time; the tray icon carries the program's menu.
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/key_dispatch.h"
#include "app/program_start.h"
#include "app/start_lookups.h"
#include "app/volume_watch_win.h"
#include "components/fishotkey_win.h"
#include "components/oneinstance_win.h"
#include "platform/platform.h"
#include "platform/win32/scoped.h"
#include "support/bounded_threads.h"
#include "ui/popup_menu.h"
#include "ui/program_icon.h"
#include "ui/task_window.h"
#include "ui/tooltip.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

namespace tastomat {

class Tprogrammliste;
class TAdmindataform1;

// The two windows the launcher calls into. They are built after it, once the message loop
// runs, so that the hotkey answers first; what needs them sooner has them built on the spot.
class LauncherWindows {
  public:
    struct Built {
        Tprogrammliste& settings;
        TAdmindataform1& admin;
    };
    // Both, built now where start-up has not got to them yet; nothing when the program is
    // ending and builds nothing more.
    virtual std::optional<Built> on_need() = 0;
    // The settings window once it has loaded the table; never builds anything.
    virtual Tprogrammliste* loaded_settings() = 0;

  protected:
    ~LauncherWindows() = default;
};

class Tmain : public ui::Window {
  public:
    // icon and windows outlive the launcher.
    Tmain(Platform& platform, const ui::ProgramIcon& icon, LauncherWindows& windows);
    ~Tmain() override;

    // A balloon at the tray icon when the hotkey just set could not be registered: the
    // component itself stays silent, and the user would otherwise press it in vain.
    void warn_if_not_registered(const Tfishotkey& hotkey);

    // What the start does once the guard has let this copy go on: the icon in the
    // notification area, and later, when the hotkey already answers, the watch for an eject
    // of the stick the program runs from.
    void show_tray_icon();
    void watch_volume();

    // Guards against a second running copy; made first, so that a later copy ends before
    // anything of it can be seen.
    std::unique_ptr<Toneinstance> Oneinstance;
    // This start has handed its parameters to the copy that runs: it is to end at once,
    // building and showing nothing.
    bool handed_over() const { return handed_over_; }

    // Components, in creation order.
    ui::PopupMenu Popupmenu1;
    std::unique_ptr<ui::TrayIcon> Trayicon;
    std::unique_ptr<Tfishotkey> Adminhotkey;
    std::unique_ptr<Tfishotkey> HotKey;
    // The stick the program runs from, watched for an eject.
    std::unique_ptr<VolumeWatch> Volumewatch;

    bool Leuchtend = false;
    bool Adminflag = false;

    // Handlers.
    void Hotkeyhotkey();
    void Adminhotkeyhotkey();
    void Verbergen();
    void Beenden1Click();
    void Einstellungen1Click();
    void Einstellungenadministrator1Click();
    void Timertimer();
    void Formkeydown(std::uint16_t key, ShiftState shift);
    void Formkeypress(char16_t key);
    void Formmousemove();
    void Volumeremoval();

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormCreate();
    InstanceRole start_guard();
    void show_badge(bool admin);
    void carry_out(const KeyCommand& command);
    void start_slot(int index);
    void finish_start(const StartRequest& request, const StartFindings& findings);
    bool confirm_run_as(const std::string& found, const std::string& user);
    void after_start(const StartRequest& request, const StartResult& result);
    ProgramStarter starter(TAdmindataform1& admin);
    void apply_size();
    void paint();
    void create_tooltip();
    void set_tooltip(const std::wstring& text);

    Platform& platform_;
    LauncherWindows& windows_;
    KeyDispatch keys_;
    // Shared with the probes of starts, whose workers may outlive the start.
    std::shared_ptr<const DriveProbes> probes_;
    // Where the workers of a start hand back what they found and what they started; the
    // question, the table's change and the balloon are made here, on the window's thread.
    ui::TaskWindow tasks_;
    StartLookups lookups_;
    // Starts that may wait on a drive, one after the other in the order of the key presses.
    BoundedThreads starts_{1};
    COLORREF color_;
    ScopedBrush brush_;
    ScopedFont font_;
    ui::Tooltip tooltip_;
    std::wstring tooltip_text_ = L"Tastomat";
    bool timer_running_ = false;
    bool handed_over_ = false;
};

}  // namespace tastomat
