// The form-state store against real files, and the settings window's real controls in
// the order the store walks them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "components/fishotkey_win.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "res/resource_ids.h"
#include "settings_ui/programmliste_win.h"
#include "support/fakes.h"
#include "support/form_state.h"
#include "support/settings_location.h"
#include "support/temp_folder_win.h"
#include "ui/task_window.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

class FormStateOnDisk : public ::testing::Test {
  protected:
    static void put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool load() { return LoadFormState(form_, file_, storage_); }
    ui::DialogShared shared() { return {icon_, help_}; }
    SettingsBackground background() const {
        return {tasks_.poster(), std::make_shared<WinDriveProbes>()};
    }

    Win32Platform& os_ = win32_platform();
    const ui::ProgramIcon icon_{IDI_TASTOMAT};
    ui::ProgramHelp help_;
    ui::TaskWindow tasks_;
    FormStateFile storage_{os_.files, os_.code_page, ','};
    test::TempFolder temp_{L"tastomat-form-"};
    const fs::path& dir_ = temp_.path();
    std::string file_ = (dir_ / "Tastomat.ini").string();
    std::string backup_ = (dir_ / "Tastomat.bak").string();
    test::FakeSettingsWindow form_;
    test::FakeSettingsWindow::HotkeyField& control_ = form_.kuerzel;
};

// "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+F9\r\n[Check]\r\nWroteSuccesful=1\r\n"
// in UTF-16 LE with its mark.
std::string utf16_settings(const std::string& hotkey) {
    const std::string text = "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=" + hotkey +
                             "\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n";
    std::string bytes = "\xFF\xFE";
    for (char c : text) bytes += std::string{c, '\0'};
    return bytes;
}

TEST_F(FormStateOnDisk, MarkedFileIsCopiedByteForByteToTheBackup) {
    const std::string original = utf16_settings("Strg+F9");
    put(file_, original);
    put(backup_, "stale");
    EXPECT_TRUE(load());
    EXPECT_EQ(control_.value, "Strg+F9");
    EXPECT_EQ(get(backup_), original);
    EXPECT_EQ(get(file_), original);
}

TEST_F(FormStateOnDisk, UnmarkedFileIsReplacedByTheBackupBeforeReading) {
    put(file_, "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F2\r\n");
    const std::string good = utf16_settings("Umsch+F3");
    put(backup_, good);
    EXPECT_TRUE(load());
    EXPECT_EQ(control_.value, "Umsch+F3");
    EXPECT_EQ(get(file_), good);
}

TEST_F(FormStateOnDisk, NothingThereCreatesNothing) {
    EXPECT_FALSE(load());
    EXPECT_EQ(control_.value, "Alt+F12");
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_FALSE(fs::exists(backup_));
}

TEST_F(FormStateOnDisk, SaveKeepsTheFilesEncodingAndAddsTheMarker) {
    std::string bytes = "\xFF\xFE";
    for (char c : std::string("[Fremd]\r\nk=v\r\n")) bytes += std::string{c, '\0'};
    put(file_, bytes);
    control_.value = "Strg+Alt+K";
    SaveFormState(form_, file_, storage_);
    const std::string expected_text =
        "[Fremd]\r\nk=v\r\n\r\n[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+Alt+K\r\n"
        "\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n";
    std::string expected = "\xFF\xFE";
    for (char c : expected_text) expected += std::string{c, '\0'};
    EXPECT_EQ(get(file_), expected);
}

// The real window: its first close writes the documented section ahead of the table.
TEST_F(FormStateOnDisk, SettingsWindowWritesItsSectionInComponentOrder) {
    SettingsLocation location{dir_.string() + "\\", file_, "C:\\Program Files\\"};
    Tfishotkey hotkey;
    {
        Tprogrammliste window(hotkey, os_.platform, location, shared(), background());
        EXPECT_EQ(window.kuerzel->text(), "Alt+F12");
        EXPECT_EQ(window.programme->count(), 48);
        window.Formclose();
    }
    const std::string text = get(file_);
    EXPECT_EQ(text.rfind("[Info]\r\nGestartet=", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n\r\n[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\n"
                        "programme=-1\r\nParameter1=0\r\nVerzeichnis1=0\r\nloeschen=0\r\n\r\n"
                        "[Check]\r\nWroteSuccesful=1\r\n\r\n[Buchstaben]\r\nA=\r\nVA=\r\n"),
              std::string::npos)
        << text;
}

TEST_F(FormStateOnDisk, SettingsWindowRestoresTheHotkeyTextAndCapturesANewOne) {
    put(file_, utf16_settings("Strg+F9"));
    SettingsLocation location{dir_.string() + "\\", file_, ""};
    Tfishotkey hotkey;
    Tprogrammliste window(hotkey, os_.platform, location, shared(), background());
    EXPECT_EQ(window.kuerzel->text(), "Strg+F9");
    EXPECT_EQ(hotkey.Key(), 0x4000 | VK_F9);
    window.FormShow();
    window.Kuerzelkeydown('K', ShiftState::Ctrl | ShiftState::Alt);
    EXPECT_EQ(window.kuerzel->text(), "Strg+Alt+K");
    EXPECT_EQ(hotkey.Key(), 0xC000 | 'K');
}

}  // namespace
}  // namespace tastomat
