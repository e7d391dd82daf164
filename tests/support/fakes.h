#pragma once
// In-memory stand-ins for the operating system, for the portable tests.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/window_thread.h"
#include "support/form_state.h"

namespace tastomat::test {

// The settings file of the user anna in its usual place, its folder and its backup.
inline constexpr const char* kSettingsDir = "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat";
inline constexpr const char* kSettingsFile =
    "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\Tastomat.ini";
inline constexpr const char* kSettingsBackup =
    "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\Tastomat.bak";

// Windows-like paths, compared case-insensitively; "E:" and "E:\" are directories when a
// drive E: has been added.
class FakeFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::string> files;  // upper-cased path -> content
    std::set<std::string> dirs;                // upper-cased, no trailing "\"
    std::set<std::string> unreadable;          // read_file throws for these
    bool fail_writes = false;                  // replace_file throws
    // Told every existence test, to check what surrounds it.
    std::function<void(const std::string& path)> on_probe;
    int writes = 0;

    void add_file(const std::string& path, const std::string& content = "");
    void add_dir(const std::string& path);               // parents are added too
    std::string content(const std::string& path) const;  // "" when missing
    bool has_file(const std::string& path) const;

    std::optional<std::string> read_file(const std::string& path) override;
    void replace_file(const std::string& path, const std::string& bytes) override;
    bool file_exists(const std::string& path) override;
    bool directory_exists(const std::string& path) override;
    bool create_directories(const std::string& path) override;
    bool copy_file(const std::string& from, const std::string& to) override;

    static std::string key(const std::string& path);
};

class FakeDrives final : public Drives {
  public:
    std::map<char, int> types;  // letter -> drive type; others report "no root dir" (1)
    unsigned error_mode = 0;
    std::vector<unsigned> modes_set;
    mutable std::vector<std::string> queried;

    int drive_type(const std::string& root) override {
        return std::as_const(*this).drive_type(root);
    }
    int drive_type(const std::string& root) const;
    unsigned set_error_mode(unsigned mode) override;
};

// What the workers of a start ask, over a fake file system and fake drives of its own: it is
// shared by the workers, so a worker that answers after its test has ended still finds
// them. Per drive letter an answer can be held back until released (a drive that answers
// late) or for good (one that never answers).
class FakeDriveProbes final : public DriveProbes {
  public:
    // slow answers on its own after twice the deadlines the tests use; late on release_late.
    enum class Answer { at_once, slow, late, never };
    FakeFileSystem files;            // not with on_probe: the workers ask at once
    FakeDrives drives;               // asked under a lock: workers and the caller ask at once
    std::map<char, Answer> answers;  // by upper-case letter; at_once when missing

    int drive_type(const std::string& root) const override {
        const std::lock_guard lock(drives_mutex_);
        return drives.drive_type(root);
    }
    bool file_exists(const std::string& path) const override;
    bool directory_exists(const std::string& path) const override;

    // The late drives answer now; waits until as many late answers as asked for are given
    // (or the time-out passes) and says whether they were.
    bool release_late(int expected_answers);

  private:
    bool held(const std::string& path, bool answer) const;
    mutable std::mutex drives_mutex_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable bool released_ = false;
    mutable int late_answers_ = 0;
};

// The window's thread as the tests play it: tasks wait until the test runs them, on its
// own thread, as a message loop would between two messages.
class QueuedWindowThread final : public WindowThread {
  public:
    void post(std::function<void()> task) override;
    // Waits until at least `count` tasks were posted in all (or the time-out passed) and
    // says whether they were.
    bool wait_for_posts(int count, std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Runs what is queued now; returns how many ran.
    int run_pending();
    // From now on posts are dropped, as when the windows are gone.
    void close();

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::vector<std::function<void()>> tasks_;
    int posts_ = 0;
    bool closed_ = false;
};

struct ShellCall {
    std::string file, params, dir;
    bool operator==(const ShellCall&) const = default;
};

class FakeShell final : public Shell, public AccountStarter {
  public:
    std::vector<ShellCall> opened;
    std::vector<ShellCall> run_as_calls;
    std::vector<std::pair<std::string, int>> documents;  // target, show command
    bool documents_open = true;
    // Decides each start's outcome; by default every start succeeds.
    std::function<bool(const ShellCall&)> succeed = [](const ShellCall&) { return true; };
    std::function<bool(const ShellCall&)> run_as_succeeds = [](const ShellCall&) { return true; };

    bool open(const std::string& file, const std::string& params, const std::string& dir) override;
    bool open_document(const std::string& target, int show_command) override;
    bool run_as(const std::string& exe, const std::string& dir, const std::string& param) override;
};

// A German user: dd.mm.yyyy and hh:mm:ss.
class FakeClock final : public Clock {
  public:
    LocalDateTime time{2026, 12, 8, 9, 15, 0};
    LocalDateTime now() override { return time; }
    std::string short_date(const LocalDateTime& t) override;
    std::string long_time(const LocalDateTime& t) override;
};

// A German layout for the keys outside the built-in name table.
class FakeKeyboardLayout final : public KeyboardLayout {
  public:
    std::map<unsigned, std::string> names{{16, "Umschalt"},  {17, "Strg"}, {18, "Alt"},
                                          {186, "Ü"},        {187, "+"},   {189, "-"},
                                          {144, "Num-Taste"}};
    std::string key_name(unsigned virtual_key) override;
    // Punctuation of a German layout: Ü + # , - . ö ^ ä < ß ´
    bool types_character(unsigned virtual_key) override {
        return (virtual_key >= 186 && virtual_key <= 192) ||
               (virtual_key >= 219 && virtual_key <= 222) || virtual_key == 226;
    }
};

// A German PC keyboard as MapVirtualKeyW and GetKeyNameTextW describe it: scan codes by
// virtual key, names by the key data asked for. Keys of the extended set share their bare
// scan code with another key (0xE0 0x35, the keypad's "/", with the "-" key's 0x35).
class FakePcKeyboard final : public KeyboardLayout {
  public:
    std::map<unsigned, KeyScanCodes> scan_codes{
        {0xBD, {0x35, 0x35}},    // -
        {0x6F, {0xE035, 0x35}},  // keypad /
        {0x6A, {0x37, 0x37}},    // keypad *
        {0x2C, {0xE037, 0x37}},  // Print Screen
        {0x6D, {0x4A, 0x4A}},    // keypad -
        {0x6B, {0x4E, 0x4E}},    // keypad +
        {0x6E, {0x53, 0x53}},    // keypad decimal
        {0x90, {0x45, 0x45}},    // Num Lock
        {0x13, {0xE11D, 0x00}},  // Pause
        {0x11, {0x1D, 0x1D}},    // Ctrl
        {0xA3, {0xE01D, 0x1D}},  // right Ctrl
        {0x12, {0x38, 0x38}},    // Alt
        {0xA5, {0xE038, 0x38}},  // Alt Gr
        {0x5B, {0xE05B, 0x5B}},  // left Windows key
        {0x5C, {0xE05C, 0x5C}},  // right Windows key
        {0x5D, {0xE05D, 0x5D}},  // application key
        {0x6C, {0x00, 0x00}},    // separator: no key on this keyboard
    };
    static constexpr unsigned long kExtended = 1ul << 24;
    std::map<unsigned long, std::string> names{
        {0x35ul << 16, "-"},
        {0x35ul << 16 | kExtended, "Num /"},
        {0x37ul << 16, "Num *"},
        {0x37ul << 16 | kExtended, "Druck"},
        {0x4Aul << 16, "Num -"},
        {0x4Eul << 16, "Num +"},
        {0x53ul << 16, "Num ,"},
        {0x53ul << 16 | kExtended, "Entf"},
        {0x45ul << 16, "Pause"},
        {0x45ul << 16 | kExtended, "Num-Taste"},
        {0x1Dul << 16, "Strg"},
        {0x1Dul << 16 | kExtended, "Strg-Rechts"},
        {0x38ul << 16, "Alt"},
        {0x38ul << 16 | kExtended, "Alt Gr"},
        {0x5Bul << 16 | kExtended, "Linke Windows"},
        {0x5Cul << 16 | kExtended, "Rechte Windows"},
        {0x5Dul << 16 | kExtended, "Anwendung"},
    };
    std::string key_name(unsigned virtual_key) override;
    bool types_character(unsigned) override { return false; }
};

class FakeSystemFolders final : public SystemFolders {
  public:
    std::map<int, std::string> folders{{kFolderAppData, "C:\\Users\\anna\\AppData\\Roaming\\"},
                                       {kFolderProgramFiles, "C:\\Program Files\\"}};
    std::string exe = "E:\\Tastomat\\Tastomat.exe";
    std::string special_folder(int csidl) override;
    std::string module_path() override { return exe; }
};

// Values under HKEY_CURRENT_USER, by "key\\subkey\\name", compared case-insensitively.
class FakeUserRegistry final : public UserRegistry {
  public:
    std::map<std::string, std::string> values;
    std::set<std::string> not_text;  // these exist but hold no text

    void set(const std::string& key, const std::string& subkey, const std::string& name,
             const std::string& text);
    std::string read_string(const std::string& key, const std::string& subkey,
                            const std::string& name) override;
    static std::string path(const std::string& key, const std::string& subkey,
                            const std::string& name);
};

// Writes links as files of the fake file system: a save fails where the folder is missing.
class FakeShellLinkWriter final : public ShellLinkWriter {
  public:
    explicit FakeShellLinkWriter(FakeFileSystem& files) : files_(files) {}
    std::map<std::string, ShellLinkProperties> links;  // by the path as given
    std::vector<std::string> saves;                    // every path a save was tried at
    bool unavailable = false;                          // no shell link object

    bool save(const ShellLinkProperties& link, const std::string& path) override;

  private:
    FakeFileSystem& files_;
};

// The settings window as the form-state store sees it, down to its hotkey field.
struct FakeSettingsWindow final : FormComponents {
    struct HotkeyField final : FormControl {
        std::string name = "kuerzel", value = "Alt+F12";
        const std::string& component_name() const override { return name; }
        ControlKind kind() const override { return ControlKind::LabeledEdit; }
        std::string text() const override { return value; }
        void set_text(const std::string& t) override { value = t; }
    };
    mutable HotkeyField kuerzel;
    std::string component_name() const override { return "Programmliste"; }
    std::vector<FormControl*> components() const override { return {&kuerzel}; }
};

// Everything together, for code that takes the whole bundle.
struct FakePlatform {
    FakeFileSystem files;
    FakeDrives drives;
    FakeShell shell;
    FakeClock clock;
    FakeKeyboardLayout keyboard;
    Windows1252 code_page;
    FakeSystemFolders folders;
    FakeUserRegistry registry;
    FakeShellLinkWriter links{files};
    Platform platform{files, drives, shell, clock, keyboard, code_page, folders, registry, links};
};

}  // namespace tastomat::test
