#include "settings_ui/settings_file_session.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/hostile_files.h"
#include "table/text_encoding.h"

namespace tastomat {
namespace {

constexpr const char* kDir = "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat";
constexpr const char* kFile = "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\Tastomat.ini";
constexpr const char* kBackup =
    "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\Tastomat.bak";

struct HotkeyField final : FormControl {
    std::string name = "kuerzel", value = "Alt+F12";
    const std::string& component_name() const override { return name; }
    ControlKind kind() const override { return ControlKind::LabeledEdit; }
    std::string text() const override { return value; }
    void set_text(const std::string& t) override { value = t; }
};

struct SettingsWindow final : FormComponents {
    mutable HotkeyField kuerzel;
    std::string component_name() const override { return "Programmliste"; }
    std::vector<FormControl*> components() const override { return {&kuerzel}; }
};

struct SessionTest : ::testing::Test {
    test::FakeFileSystem files;
    test::FakeClock clock;
    Windows1252 cp;
    SettingsFileSession session{kFile, FormStateFile{files, cp, ','}};
    SettingsWindow window;
    ProgramTable table;

    SessionTest() { files.add_dir(kDir); }
    void start() {
        IniFile ini = session.open(window, table);
        session.finish_open(table, ini, clock);
    }
    std::string text(const std::string& path) {
        return decode_text(files.content(path), cp).text;
    }
};

TEST_F(SessionTest, FileUnreadableAtStartIsNotWrittenInThatRun) {
    const std::string content =
        "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+F9\r\n\r\n[Check]\r\n"
        "WroteSuccesful=1\r\n\r\n[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\n\r\n";
    files.add_file(kFile, content);
    files.unreadable.insert(test::FakeFileSystem::key(kFile));
    EXPECT_THROW(start(), FileError);
    EXPECT_TRUE(session.unreadable_at_start());

    // The other program lets go; the settings window is opened and closed twice.
    files.unreadable.clear();
    table.Progs[4] = "";
    session.save(window, table);
    session.save(window, table);
    EXPECT_EQ(files.content(kFile), content);
    EXPECT_FALSE(files.has_file(kBackup));
    EXPECT_EQ(files.writes, 0);
}

TEST_F(SessionTest, FileWrittenAfterAReadableStartAndAWriteErrorThere) {
    files.add_file(kFile, "[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\n");
    files.fail_writes = true;
    EXPECT_THROW(start(), FileError);  // the start time could not be recorded
    EXPECT_FALSE(session.unreadable_at_start());
    files.fail_writes = false;
    session.save(window, table);
    const IniFile saved(kFile, files, cp);
    EXPECT_EQ(saved.read_string("Buchstaben", "E", ""), "C:\\Tools\\e.exe");
    EXPECT_TRUE(saved.value_exists("Funktionstasten", "P12"));
    EXPECT_TRUE(saved.value_exists("Check", "WroteSuccesful"));
}

// Whatever a stick brings along, the start reads what it can and a save keeps all of it.
TEST_F(SessionTest, DamagedAndHostileFilesStartAndLoseNothingOnSave) {
    for (const test::HostileFile& f : test::hostile_files()) {
        SCOPED_TRACE(f.what);
        files.files.clear();
        files.add_file(kFile, f.settings);
        if (f.backup) files.add_file(kBackup, *f.backup);
        const DecodedText read = decode_text(f.settings, cp);
        table = ProgramTable();

        ASSERT_NO_THROW(start());
        if (f.slot_e) {
            EXPECT_EQ(table.Progs[4], *f.slot_e);
        }
        EXPECT_EQ(table.list_line(4), "E: " + table.Progs[4]);
        ASSERT_NO_THROW(session.save(window, table));

        const DecodedText saved = decode_text(files.content(kFile), cp);
        EXPECT_EQ(saved.encoding, read.encoding);
        EXPECT_EQ(test::lost_lines(read.text, saved.text), std::vector<std::string>{});
        ProgramTable again;
        again.load(IniFile(kFile, files, cp));
        EXPECT_EQ(again.Progs, table.Progs);
        EXPECT_EQ(again.Parameter, table.Parameter);
    }
}

}  // namespace
}  // namespace tastomat
