#include "app/program_start.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "support/fakes.h"
#include "table/program_table.h"

namespace tastomat {
namespace {

using test::ShellCall;
using SlotChange = std::pair<int, std::string>;

class ProgramStartTest : public ::testing::Test {
  protected:
    ProgramStartTest() {
        drives.types = {{'C', kDriveFixed}, {'E', kDriveRemovable}};
        drives.error_mode = 0x8000;
        files.add_dir("E:\\Tastomat");
        files.add_dir("C:\\Windows");
    }

    StartResult run(const std::string& exe, const std::string& dir = "",
                    const std::string& param = "", int index = 5, bool admin = false) {
        ProgramStarter starter({files, drives, shell, shell}, launcher);
        return starter.Startprog(
            exe, dir, param, index, admin,
            [this](int i, const std::string& p) { changes.emplace_back(i, p); });
    }

    std::vector<std::string> opened_files() const {
        std::vector<std::string> out;
        for (const ShellCall& call : shell.opened) out.push_back(call.file);
        return out;
    }

    test::FakeFileSystem files;
    test::FakeDrives drives;
    test::FakeShell shell;
    std::string launcher = "E:\\Tastomat\\Tastomat.exe";
    std::vector<SlotChange> changes;
};

TEST_F(ProgramStartTest, EmptySlotOpensTheLauncherDriveWithoutSearching) {
    const StartResult result = run("");
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"E:", "", "E:"}}));
    EXPECT_EQ(result.started, "E:");
    EXPECT_FALSE(result.new_program);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(drives.queried.empty());
}

TEST_F(ProgramStartTest, EveryProbeOfAStartRunsWithTheDrivesQuiet) {
    files.add_file("C:\\Tools\\x.exe");
    files.add_dir("C:\\Daten");
    files.add_dir("E:\\Arbeit");
    drives.types['F'] = kDriveFixed;
    std::vector<unsigned> modes_at_probe;
    files.on_probe = [&](const std::string&) { modes_at_probe.push_back(drives.error_mode); };
    ProgramTable table;
    table.Progs = {"C:\\Tools\\x.exe", "C:\\Daten\\", "D:\\Gone\\x.exe", ""};
    table.Verzeichnisse = {"\\Arbeit", "C:\\Daten", "", "D:\\Gone"};
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(slot);
        modes_at_probe.clear();
        ProgramStarter starter({files, drives, shell, shell}, launcher);
        starter.start_slot(table, slot, false);
        ASSERT_FALSE(modes_at_probe.empty());
        for (const unsigned mode : modes_at_probe) EXPECT_EQ(mode, kFailCriticalErrors);
        EXPECT_EQ(drives.error_mode, 0x8000u);
    }
    // The working directory without drive was found on the launcher's drive.
    EXPECT_EQ(shell.opened.front(), (ShellCall{"C:\\Tools\\x.exe", "", "E:\\Arbeit"}));
}

TEST_F(ProgramStartTest, PathsWithoutDriveGetTheLauncherDrive) {
    files.add_file("E:\\Tools\\x.exe");
    files.add_dir("E:\\Work");
    run("\\Tools\\x.exe", "\\Work", "-n liste.txt");
    EXPECT_EQ(shell.opened,
              (std::vector<ShellCall>{{"E:\\Tools\\x.exe", "-n liste.txt", "E:\\Work"}}));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(drives.queried.empty());

    shell.opened.clear();
    files.add_file("E:Tools\\x.exe");  // drive-relative: E:'s current directory
    run("Tools\\x.exe");
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"E:Tools\\x.exe", "", "E:"}}));
}

TEST_F(ProgramStartTest, ExistingFileAndFolderEntryStartDirectlyAndAFailedStartIsLeftAlone) {
    files.add_file("C:\\Tools\\x.exe");
    files.add_dir("C:\\Daten");
    run("C:\\Tools\\x.exe", "C:\\Windows");
    run("C:\\Daten\\");
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"C:\\Tools\\x.exe", "", "C:\\Windows"},
                                                    {"C:\\Daten\\", "", "E:"}}));

    shell.succeed = [](const ShellCall&) { return false; };
    const StartResult failed = run("C:\\Tools\\x.exe");
    EXPECT_FALSE(failed.started);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(drives.queried.empty());
}

TEST_F(ProgramStartTest, MissingProgramIsFoundOnTheFirstFixedOrNetworkDrive) {
    drives.types['A'] = kDriveCdRom;
    drives.types['B'] = kDriveRemovable;
    drives.types['F'] = kDriveFixed;
    drives.types['G'] = kDriveRemote;
    for (const char* path : {"A:\\Tools\\x.exe", "B:\\Tools\\x.exe", "E:\\Tools\\x.exe",
                             "F:\\Tools\\x.exe", "G:\\Tools\\x.exe"}) {
        files.add_file(path);
    }

    const StartResult result = run("D:\\Tools\\x.exe", "", "-v", 7);
    // The working directory stays the completed stored one, not the found drive.
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"F:\\Tools\\x.exe", "-v", "E:"}}));
    EXPECT_EQ(changes, (std::vector<SlotChange>{{7, "F:\\Tools\\x.exe"}}));
    EXPECT_EQ(result.new_program, "F:\\Tools\\x.exe");
    EXPECT_EQ(drives.modes_set, (std::vector<unsigned>{kFailCriticalErrors, 0x8000}));
}

TEST_F(ProgramStartTest, SearchGoesOnWhenAStartFailsAndReachesNetworkDrives) {
    drives.types['Z'] = kDriveRemote;
    files.add_file("C:\\Tools\\x.exe");
    files.add_file("Z:\\Tools\\x.exe");
    shell.succeed = [](const ShellCall& call) { return call.file[0] != 'C'; };
    // The stored path is missing: the search reaches C: first, whose start fails.
    run("Y:\\Tools\\x.exe");
    EXPECT_EQ(opened_files(), (std::vector<std::string>{"C:\\Tools\\x.exe", "Z:\\Tools\\x.exe"}));
    EXPECT_EQ(changes, (std::vector<SlotChange>{{5, "Z:\\Tools\\x.exe"}}));
}

TEST_F(ProgramStartTest, ProgramOnlyOnRemovableDrivesKeepsItsSlotAndIsReportedMissing) {
    drives.types['F'] = kDriveRemovable;
    drives.types['R'] = kDriveRamDisk;
    files.add_file("F:\\Tools\\x.exe");
    files.add_file("R:\\Tools\\x.exe");
    const StartResult result = run("D:\\Tools\\x.exe", "", "", 9);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(result.new_program);
    EXPECT_EQ(result.not_found, "D:\\Tools\\x.exe");
    EXPECT_FALSE(result.started);
    EXPECT_EQ(drives.queried.size(), 26u);
    EXPECT_EQ(drives.error_mode, 0x8000u);
}

TEST_F(ProgramStartTest, FoldersAreNeverSearchedForAndAreReportedMissing) {
    drives.types['D'] = kDriveFixed;
    drives.types['F'] = kDriveFixed;
    files.add_dir("F:\\Daten");
    EXPECT_EQ(run("D:\\Daten\\").not_found, "D:\\Daten\\");
    // Without its final "\" an existing folder is taken for a missing file.
    files.add_dir("D:\\Daten");
    EXPECT_EQ(run("D:\\Daten").not_found, "D:\\Daten");
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(changes.empty());
}

TEST_F(ProgramStartTest, ErrorModeComesBackWhenTheStartThrows) {
    drives.types['F'] = kDriveFixed;
    files.add_file("F:\\x.exe");
    shell.succeed = [](const ShellCall&) -> bool { throw std::runtime_error("shell gone"); };
    EXPECT_THROW(run("D:\\x.exe"), std::runtime_error);
    EXPECT_EQ(drives.error_mode, 0x8000u);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ProgramStartTest, NetworkPathsKeepTheirShareAndAreNotMovedToADrive) {
    files.add_file("\\\\srv\\share\\x.exe");
    run("\\\\srv\\share\\x.exe");
    EXPECT_EQ(opened_files(), (std::vector<std::string>{"\\\\srv\\share\\x.exe"}));

    // Missing: every fixed drive tries the same path unchanged.
    drives.types['F'] = kDriveFixed;
    files.add_file("F:\\gone.exe");
    EXPECT_EQ(run("\\\\srv\\share\\gone.exe").not_found, "\\\\srv\\share\\gone.exe");
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(opened_files().size(), 1u);
}

TEST_F(ProgramStartTest, LauncherOnAShareCompletesWithTheShare) {
    launcher = "\\\\srv\\share\\Tastomat\\Tastomat.exe";
    files.add_file("\\\\srv\\share\\Tools\\x.exe");
    run("\\Tools\\x.exe", "\\Tools");
    EXPECT_EQ(
        shell.opened,
        (std::vector<ShellCall>{{"\\\\srv\\share\\Tools\\x.exe", "", "\\\\srv\\share\\Tools"}}));
}

TEST_F(ProgramStartTest, RunAsModeStartsUnderTheAccountAndKeepsTheSlotWhenThatFailsEverywhere) {
    files.add_file("C:\\Tools\\x.exe");
    run("C:\\Tools\\x.exe", "C:\\Windows", "-p", 5, true);
    EXPECT_EQ(shell.run_as_calls,
              (std::vector<ShellCall>{{"C:\\Tools\\x.exe", "-p", "C:\\Windows"}}));

    shell.run_as_calls.clear();
    shell.run_as_succeeds = [](const ShellCall&) { return false; };
    EXPECT_TRUE(run("D:\\Tools\\x.exe", "", "", 3, true).not_found);
    EXPECT_EQ(shell.run_as_calls, (std::vector<ShellCall>{{"C:\\Tools\\x.exe", "", "E:"}}));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ProgramStartTest, SlotKeyFetchesTheSlotAndMovesItInTheTable) {
    ProgramTable table;
    std::vector<int> rewritten;
    table.on_program_changed = [&rewritten](int slot) { rewritten.push_back(slot); };
    table.Progs[4] = "D:\\Tools\\x.exe";
    table.Verzeichnisse[4] = "D:\\Work";  // gone with D:, so the launcher drive stands in
    table.Parameter[4] = "-n";
    drives.types['F'] = kDriveFixed;
    files.add_file("F:\\Tools\\x.exe");

    ProgramStarter starter({files, drives, shell, shell}, launcher);
    starter.start_slot(table, 4, false);
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"F:\\Tools\\x.exe", "-n", "E:"}}));
    EXPECT_EQ(table.Progs[4], "F:\\Tools\\x.exe");
    EXPECT_EQ(rewritten, std::vector<int>{4});
}

TEST(DrivePartTest, DriveLetterShareOrNothing) {
    EXPECT_EQ(drive_part("C:\\x.exe"), "C:");
    EXPECT_EQ(drive_part("c:x.exe"), "c:");
    EXPECT_EQ(drive_part("\\\\srv\\share\\dir\\x.exe"), "\\\\srv\\share");
    EXPECT_EQ(drive_part("\\\\srv\\share"), "\\\\srv\\share");
    EXPECT_EQ(drive_part("\\\\srv"), "\\\\srv");
    EXPECT_EQ(drive_part("\\x.exe"), "");
    EXPECT_EQ(drive_part("x:"), "x:");
    EXPECT_EQ(drive_part("x"), "");
    EXPECT_EQ(drive_part(""), "");
}

}  // namespace
}  // namespace tastomat
