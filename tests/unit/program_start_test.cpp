#include "app/program_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "support/fakes.h"
#include "support/mailbox.h"
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
        ProgramStarter starter({probes, drives, shell, shell}, launcher);
        return starter.Startprog(
            exe, dir, param, index, admin,
            [this](int i, const std::string& p) { changes.emplace_back(i, p); });
    }

    std::vector<std::string> opened_files() const {
        std::vector<std::string> out;
        for (const ShellCall& call : shell.opened) out.push_back(call.file);
        return out;
    }

    // The search asks the type of every letter; a direct start asks its own drives' at most.
    bool searched() const {
        return std::set<std::string>(drives.queried.begin(), drives.queried.end()).size() == 26;
    }

    std::shared_ptr<test::FakeDriveProbes> probes = std::make_shared<test::FakeDriveProbes>();
    test::FakeFileSystem& files = probes->files;
    test::FakeDrives& drives = probes->drives;
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
    EXPECT_FALSE(searched());
}

TEST_F(ProgramStartTest, EveryStartRunsWithTheDrivesQuiet) {
    // The shell looks at the path too; the workers' tests are quiet on their own threads.
    files.add_file("C:\\Tools\\x.exe");
    files.add_file("F:\\Gone\\x.exe");
    files.add_dir("C:\\Daten");
    files.add_dir("E:\\Arbeit");
    drives.types['F'] = kDriveFixed;
    std::vector<unsigned> modes_at_start;
    shell.succeed = [&](const ShellCall&) {
        modes_at_start.push_back(drives.error_mode);
        return true;
    };
    ProgramTable table;
    table.Progs = {"C:\\Tools\\x.exe", "C:\\Daten\\", "D:\\Gone\\x.exe", ""};
    table.Verzeichnisse = {"\\Arbeit", "C:\\Daten", "", "D:\\Gone"};
    for (int slot = 0; slot < 4; ++slot) {
        ProgramStarter starter({probes, drives, shell, shell}, launcher);
        starter.start_slot(table, slot, false);
        EXPECT_EQ(drives.error_mode, 0x8000u);
    }
    EXPECT_EQ(modes_at_start, std::vector<unsigned>(4, kFailCriticalErrors));
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
    EXPECT_FALSE(searched());

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
    EXPECT_FALSE(searched());
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
    EXPECT_TRUE(searched());
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

    ProgramStarter starter({probes, drives, shell, shell}, launcher);
    starter.start_slot(table, 4, false);
    EXPECT_EQ(shell.opened, (std::vector<ShellCall>{{"F:\\Tools\\x.exe", "-n", "E:"}}));
    EXPECT_EQ(table.Progs[4], "F:\\Tools\\x.exe");
    EXPECT_EQ(rewritten, std::vector<int>{4});
}

TEST(ProgramStartDeadline, DrivesThatDoNotAnswerInTimeHoldNothingUp) {
    using Answer = test::FakeDriveProbes::Answer;
    using namespace std::chrono;
    constexpr milliseconds kDeadline{300};
    struct Case {
        const char* what;
        std::map<char, Answer> answers;
        std::string program, dir;
        std::optional<std::string> started;
        std::string started_in;  // the working directory the start got
        int late_answers;
    };
    // D: and G: are network drives, F: a fixed one; each holds \Tools\x.exe and \Work.
    const Case cases[] = {
        {"in time: the first letter wins", {}, "C:\\Tools\\x.exe", "", "D:\\Tools\\x.exe", "E:", 0},
        {"never: the next drive",
         {{'D', Answer::never}},
         "C:\\Tools\\x.exe",
         "",
         "F:\\Tools\\x.exe",
         "E:",
         0},
        {"late: the next drive, the late answer dropped",
         {{'D', Answer::late}},
         "C:\\Tools\\x.exe",
         "",
         "F:\\Tools\\x.exe",
         "E:",
         1},
        {"stored path on a drive that never answers",
         {{'D', Answer::never}},
         "D:\\Tools\\x.exe",
         "",
         "F:\\Tools\\x.exe",
         "E:",
         0},
        {"working directory on a drive that never answers",
         {{'G', Answer::never}},
         "F:\\Tools\\x.exe",
         "G:\\Work",
         "F:\\Tools\\x.exe",
         "E:",
         0},
        {"working directory in time",
         {},
         "F:\\Tools\\x.exe",
         "G:\\Work",
         "F:\\Tools\\x.exe",
         "G:\\Work",
         0},
        {"nowhere in time: the network drives are silent, the local one lacks it",
         {{'D', Answer::never}, {'G', Answer::late}},
         "C:\\Tools\\y.exe",
         "",
         std::nullopt,
         "",
         1},
        {"a slow local drive is waited for",
         {{'D', Answer::never}, {'F', Answer::slow}},
         "C:\\Tools\\x.exe",
         "G:\\Work",
         "F:\\Tools\\x.exe",
         "G:\\Work",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto probes = std::make_shared<test::FakeDriveProbes>();
        probes->answers = c.answers;
        probes->drives.types = {
            {'C', kDriveFixed}, {'D', kDriveRemote}, {'F', kDriveFixed}, {'G', kDriveRemote}};
        for (const char* drive : {"D:", "F:", "G:"}) {
            probes->files.add_file(std::string(drive) + "\\Tools\\x.exe");
            probes->files.add_dir(std::string(drive) + "\\Work");
        }
        test::FakeShell shell;
        ProgramStarter starter({probes, probes->drives, shell, shell, kDeadline},
                               "E:\\Tastomat.exe");
        ProgramTable table;
        table.Progs[3] = c.program;
        table.Verzeichnisse[3] = c.dir;

        // As the launcher does it: probed in the background, finished where it was asked.
        std::promise<std::pair<StartRequest, StartFindings>> delivered;
        const auto asked = steady_clock::now();
        probe_in_background(starter.prepare_slot(table, 3, false), probes, kDeadline,
                            [&delivered](StartRequest request, StartFindings findings) {
                                delivered.set_value({std::move(request), std::move(findings)});
                            });
        EXPECT_LT(steady_clock::now() - asked, kDeadline);  // the caller never waits
        auto answer = delivered.get_future();
        ASSERT_EQ(answer.wait_for(seconds(30)), std::future_status::ready);
        EXPECT_LT(steady_clock::now() - asked, kDeadline * 2 + seconds(3));  // bounded
        const auto [request, findings] = answer.get();
        const StartResult result = starter.finish(
            request, findings, [&table](int i, const std::string& p) { table.set_program(i, p); });

        EXPECT_EQ(result.started, c.started);
        if (c.started) {
            ASSERT_EQ(shell.opened.size(), 1u);
            EXPECT_EQ(shell.opened[0].dir, c.started_in);
        } else {
            EXPECT_TRUE(shell.opened.empty());
        }
        EXPECT_EQ(table.Progs[3], c.started && *c.started != c.program ? *c.started : c.program);
        EXPECT_TRUE(probes->release_late(c.late_answers));
        EXPECT_EQ(result.started, c.started);  // an answer after the deadline changes nothing
    }
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

TEST(ProgramStartAtOnce, OnlyAStartOnLocalDrivesThatNeedsNoSearchIsProbedOnTheCallersThread) {
    struct Case {
        const char* what;
        std::string program, dir;
        bool at_once;
        bool dir_exists;
    };
    // C: and F: are fixed, D: a network drive; F:\Tools\x.exe, F:\Work and D:\Work exist.
    const Case cases[] = {
        {"found on a local drive", "F:\\Tools\\x.exe", "F:\\Work", true, true},
        {"local, the working directory missing", "F:\\Tools\\x.exe", "C:\\Gone", true, false},
        {"missing: the search's turn", "C:\\Tools\\x.exe", "", false, false},
        {"on a network drive", "D:\\Tools\\x.exe", "", false, false},
        {"working directory on a network drive", "F:\\Tools\\x.exe", "D:\\Work", false, false},
        {"on a share", "\\\\srv\\share\\x.exe", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeDriveProbes probes;
        probes.drives.types = {{'C', kDriveFixed}, {'D', kDriveRemote}, {'F', kDriveFixed}};
        probes.files.add_file("F:\\Tools\\x.exe");
        probes.files.add_dir("F:\\Work");
        probes.files.add_dir("D:\\Work");
        StartRequest request;
        request.exe = c.program;
        if (!c.dir.empty()) request.dir_to_test = c.dir;
        const std::optional<StartFindings> findings = probe_at_once(request, probes);
        ASSERT_EQ(findings.has_value(), c.at_once);
        if (!findings) continue;
        EXPECT_TRUE(findings->direct);
        EXPECT_EQ(findings->dir_exists, c.dir_exists);
    }
}

TEST(FoundStartMailbox, DeliversInOrderUntilClosedAndThenDropsWithoutWaking) {
    int wakes = 0;
    auto mailbox = std::make_shared<Mailbox<int>>([&wakes] { ++wakes; });
    mailbox->post(1);
    std::thread([mailbox] { mailbox->post(2); }).join();
    EXPECT_EQ(wakes, 2);
    EXPECT_EQ(mailbox->take(), 1);
    mailbox->post(3);
    mailbox->close();  // the window went: what was waiting and what comes later is dropped
    mailbox->post(4);
    EXPECT_EQ(wakes, 3);
    EXPECT_EQ(mailbox->take(), std::nullopt);
}

}  // namespace
}  // namespace tastomat
