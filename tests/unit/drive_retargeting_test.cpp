#include "settings_ui/drive_retargeting.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr int kA = 0, kB = 1, kC = 2, kD = 3, kZero = 26, kF1 = 36;

struct RetargetCase {
    const char* name;
    std::vector<std::string> existing;  // a trailing "\" makes a folder
    DriveChoice choice;
    std::string a, zero, f1;  // slots A, 0 and F1 afterwards
    bool lines_rewritten;     // the lines of A, 0 and F1
};

TEST(DriveRetargeting, MovesEveryPathThatExistsOnTheCheckedDrives) {
    const std::string file = "D:\\Tools\\edit.exe", folder = "D:\\Projekte\\";
    const std::string blanks = " D:\\Spiele\\s.exe ";
    const RetargetCase cases[] = {
        {"file moves",
         {"E:\\Tools\\edit.exe"},
         {true, {"E:\\"}},
         "E:\\Tools\\edit.exe",
         folder,
         blanks,
         true},
        {"folder moves",
         {"E:\\Projekte\\"},
         {true, {"E:\\"}},
         file,
         "E:\\Projekte\\",
         blanks,
         true},
        {"letter case is the file system's business",
         {"e:\\TOOLS\\EDIT.EXE"},
         {true, {"E:\\"}},
         "E:\\Tools\\edit.exe",
         folder,
         blanks,
         true},
        {"last checked drive that has it wins",
         {"E:\\Tools\\edit.exe", "F:\\Tools\\edit.exe", "E:\\Projekte\\"},
         {true, {"E:\\", "F:\\"}},
         "F:\\Tools\\edit.exe",
         "E:\\Projekte\\",
         blanks,
         true},
        {"root without backslash",
         {"F:\\Tools\\edit.exe"},
         {true, {"E:", "F:"}},
         "F:\\Tools\\edit.exe",
         folder,
         blanks,
         true},
        {"blanks around a path stay out of the new one",
         {"E:\\Spiele\\s.exe"},
         {true, {"E:\\"}},
         file,
         folder,
         "E:\\Spiele\\s.exe",
         true},
        {"on none of the drives",
         {"E:\\Andere\\x.exe"},
         {true, {"E:\\", "F:\\"}},
         file,
         folder,
         blanks,
         true},
        {"the drive it already is on",
         {"D:\\Tools\\edit.exe"},
         {true, {"D:\\"}},
         file,
         folder,
         blanks,
         true},
        {"cancelled", {"E:\\Tools\\edit.exe"}, {false, {"E:\\"}}, file, folder, blanks, false},
        {"confirmed without a drive",
         {"E:\\Tools\\edit.exe"},
         {true, {}},
         file,
         folder,
         blanks,
         false},
    };
    for (const RetargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeFileSystem files;
        test::FakeDrives drives;
        for (const std::string& path : c.existing) {
            if (path.back() == '\\') {
                files.add_dir(path);
            } else {
                files.add_file(path);
            }
        }
        ProgramTable table;
        table.Progs[kA] = file;
        table.Verzeichnisse[kA] = "D:\\Texte\\";
        table.Parameter[kA] = "D:\\Texte\\liste.txt";
        table.Progs[kZero] = folder;
        table.Progs[kF1] = blanks;
        table.Progs[kB] = "\\\\server\\share\\Tools\\edit.exe";  // network path
        table.Progs[kD] = "Tools\\edit.exe";                     // no drive letter
        // What the network path would become if it were taken for a drive path.
        files.add_file("E:server\\share\\Tools\\edit.exe");
        std::set<int> rewritten;
        table.on_program_changed = [&](int i) { rewritten.insert(i); };

        retarget_drives(table, c.choice, files, drives);

        EXPECT_EQ(table.Progs[kA], c.a);
        EXPECT_EQ(table.Progs[kZero], c.zero);
        EXPECT_EQ(table.Progs[kF1], c.f1);
        const std::set<int> lines =
            c.lines_rewritten ? std::set<int>{kA, kZero, kF1} : std::set<int>{};
        EXPECT_EQ(rewritten, lines);
        EXPECT_EQ(table.Progs[kB], "\\\\server\\share\\Tools\\edit.exe");
        EXPECT_EQ(table.Progs[kC], "");
        EXPECT_EQ(table.Progs[kD], "Tools\\edit.exe");
        // Working directory and parameters keep their drive; the file is not touched.
        EXPECT_EQ(table.Verzeichnisse[kA], "D:\\Texte\\");
        EXPECT_EQ(table.Parameter[kA], "D:\\Texte\\liste.txt");
        EXPECT_EQ(files.writes, 0);
        EXPECT_EQ(drives.error_mode, 0u);
        if (c.lines_rewritten) {
            EXPECT_EQ(drives.modes_set.front(), kFailCriticalErrors);
        }
    }
}

}  // namespace
}  // namespace tastomat
