#include "settings_ui/settings_file_session.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/hostile_files.h"

namespace tastomat {
namespace {

constexpr const char* kDir = test::kSettingsDir;
constexpr const char* kFile = test::kSettingsFile;
constexpr const char* kBackup = test::kSettingsBackup;

struct SessionTest : ::testing::Test {
    test::FakeFileSystem files;
    test::FakeClock clock;
    Windows1252 cp;
    SettingsFileSession session{kFile, FormStateFile{files, cp, ','}};
    test::FakeSettingsWindow window;
    ProgramTable table;

    SessionTest() { files.add_dir(kDir); }
    void start() {
        IniFile ini = session.open(window, table);
        session.finish_open(table, ini, clock);
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
        files.files.clear();
        files.add_file(kFile, f.settings);
        if (f.backup) files.add_file(kBackup, *f.backup);
        EXPECT_EQ(test::start_then_save(f, kFile, FormStateFile{files, cp, ','}, clock), "")
            << f.what;
    }
}

}  // namespace
}  // namespace tastomat
