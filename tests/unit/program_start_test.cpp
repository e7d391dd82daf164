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

#include "app/start_lookups.h"
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
        ProgramStarter starter({probes, drives, shell, shell}, launcher);
        return starter.Startprog(
            exe, dir, param, index, admin,
            [this](int i, const std::string& p) { changes.emplace_back(i, p); }, confirm);
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
    ConfirmRunAs confirm;  // none: a run-as start of a find away from the stick is declined
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
    for (const char* path :
         {"A:\\Tools\\x.exe", "B:\\Tools\\x.exe", "F:\\Tools\\x.exe", "G:\\Tools\\x.exe"}) {
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
    confirm = [](const std::string&) { return true; };
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
        probe_in_background(
            starter.prepare_slot(table, 3, false), probes, kDeadline,
            [&delivered](StartRequest request, StartFindings findings) {
                delivered.set_value({std::move(request), std::move(findings)});
            },
            BoundedThreads(16));  // its own: a silent drive's worker stays
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

TEST(ProgramStartSearch, TheLaunchersOwnDriveFirstThenFixedAndNetworkDrives) {
    struct Case {
        const char* what;
        std::string launcher;
        std::vector<std::string> files;
        std::optional<std::string> started;  // also where the slot goes
    };
    // C: fixed, D: network, F: and G: removable; the slot says E:\Tools\x.exe, E: is gone.
    const Case cases[] = {
        {"the stick's copy before C:'s",
         "F:\\Tastomat.exe",
         {"F:\\Tools\\x.exe", "C:\\Tools\\x.exe"},
         "F:\\Tools\\x.exe"},
        {"not on the stick: the first fixed or network drive",
         "F:\\Tastomat.exe",
         {"C:\\Tools\\x.exe", "D:\\Tools\\x.exe"},
         "C:\\Tools\\x.exe"},
        {"another removable drive stays unsearched",
         "F:\\Tastomat.exe",
         {"G:\\Tools\\x.exe"},
         std::nullopt},
        {"the launcher's network drive before C:",
         "D:\\Tastomat.exe",
         {"C:\\Tools\\x.exe", "D:\\Tools\\x.exe"},
         "D:\\Tools\\x.exe"},
        {"the launcher's share before C:",
         "\\\\srv\\stick\\Tastomat.exe",
         {"C:\\Tools\\x.exe", "\\\\srv\\stick\\Tools\\x.exe"},
         "\\\\srv\\stick\\Tools\\x.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto probes = std::make_shared<test::FakeDriveProbes>();
        probes->drives.types = {{'C', kDriveFixed},
                                {'D', kDriveRemote},
                                {'F', kDriveRemovable},
                                {'G', kDriveRemovable}};
        for (const std::string& file : c.files) probes->files.add_file(file);
        test::FakeShell shell;
        ProgramTable table;
        table.Progs[2] = "E:\\Tools\\x.exe";
        ProgramStarter starter({probes, probes->drives, shell, shell}, c.launcher);
        const StartResult result = starter.start_slot(table, 2, false);
        EXPECT_EQ(result.started, c.started);
        EXPECT_EQ(table.Progs[2], c.started.value_or("E:\\Tools\\x.exe"));
    }
}

TEST(ProgramStartRunAs, OnlyAFindAwayFromTheStickWaitsForTheUsersYes) {
    using Calls = std::vector<std::string>;
    struct Case {
        const char* what;
        bool admin;
        std::string program;
        std::vector<std::string> files;
        bool yes;
        std::set<std::string> failing;  // starts that fail
        Calls asked, started;
        std::string slot_after;
    };
    // The launcher runs from the stick F:; C: is fixed, D: a network drive.
    const Case cases[] = {
        {"a normal start is never asked about",
         false,
         "E:\\Tools\\x.exe",
         {"C:\\Tools\\x.exe"},
         false,
         {},
         {},
         {"C:\\Tools\\x.exe"},
         "C:\\Tools\\x.exe"},
        {"run-as, at its place: no question",
         true,
         "C:\\Tools\\x.exe",
         {"C:\\Tools\\x.exe"},
         false,
         {},
         {},
         {"C:\\Tools\\x.exe"},
         "C:\\Tools\\x.exe"},
        {"run-as, found on the stick: no question",
         true,
         "E:\\Tools\\x.exe",
         {"F:\\Tools\\x.exe", "C:\\Tools\\x.exe"},
         false,
         {},
         {},
         {"F:\\Tools\\x.exe"},
         "F:\\Tools\\x.exe"},
        {"run-as, found on C: only, Yes",
         true,
         "E:\\Tools\\x.exe",
         {"C:\\Tools\\x.exe"},
         true,
         {},
         {"C:\\Tools\\x.exe"},
         {"C:\\Tools\\x.exe"},
         "C:\\Tools\\x.exe"},
        {"run-as, found on C: only, No: nothing starts, the slot stays",
         true,
         "E:\\Tools\\x.exe",
         {"C:\\Tools\\x.exe"},
         false,
         {},
         {"C:\\Tools\\x.exe"},
         {},
         "E:\\Tools\\x.exe"},
        {"run-as, the stick's start fails: nothing else is tried unasked",
         true,
         "E:\\Tools\\x.exe",
         {"F:\\Tools\\x.exe", "C:\\Tools\\x.exe"},
         true,
         {"F:\\Tools\\x.exe"},
         {},
         {"F:\\Tools\\x.exe"},
         "E:\\Tools\\x.exe"},
        {"run-as, Yes for C: is not a Yes for D:",
         true,
         "E:\\Tools\\x.exe",
         {"C:\\Tools\\x.exe", "D:\\Tools\\x.exe"},
         true,
         {"C:\\Tools\\x.exe"},
         {"C:\\Tools\\x.exe"},
         {"C:\\Tools\\x.exe"},
         "E:\\Tools\\x.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto probes = std::make_shared<test::FakeDriveProbes>();
        probes->drives.types = {{'C', kDriveFixed}, {'D', kDriveRemote}, {'F', kDriveRemovable}};
        for (const std::string& file : c.files) probes->files.add_file(file);
        test::FakeShell shell;
        Calls started;
        auto record = [&](const ShellCall& call) {
            started.push_back(call.file);
            return c.failing.count(call.file) == 0;
        };
        shell.succeed = shell.run_as_succeeds = record;
        ProgramTable table;
        table.Progs[0] = c.program;
        Calls asked;
        ProgramStarter starter({probes, probes->drives, shell, shell}, "F:\\Tastomat.exe");
        starter.start_slot(table, 0, c.admin, [&](const std::string& found) {
            asked.push_back(found);
            return c.yes;
        });
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(started, c.started);
        EXPECT_EQ((c.admin ? shell.opened : shell.run_as_calls).size(), 0u);
        EXPECT_EQ(table.Progs[0], c.slot_after);
    }
}

// A start finished as the launcher finishes it: the plan, the starts, the slot's move.
StartResult finish_on_window_thread(ProgramTable& table, test::FakeShell& shell,
                                    const StartRequest& request, const StartFindings& findings) {
    StartResult result =
        run_plan(plan_start(request, findings, {}), request,
                 [&shell](const std::string& path, const std::string& dir,
                          const std::string& param) { return shell.open(path, param, dir); });
    follow_start(table, request, result);
    return result;
}

TEST(ProgramStartLate, AnAnswerForASlotChangedMeanwhileLeavesTheTableAsTheUserLeftIt) {
    struct Case {
        const char* what;
        std::optional<std::string> changed_to;  // what the user made of the slot meanwhile
        std::string slot_after;
    };
    const Case cases[] = {
        {"unchanged: the slot follows", std::nullopt, "C:\\Tools\\x.exe"},
        {"deleted", "", ""},
        {"another program chosen", "C:\\Other\\y.exe", "C:\\Other\\y.exe"},
        {"moved to another drive", "H:\\Tools\\x.exe", "H:\\Tools\\x.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto probes = std::make_shared<test::FakeDriveProbes>();
        probes->drives.types = {{'C', kDriveFixed}};
        probes->files.add_file("C:\\Tools\\x.exe");
        auto window = std::make_shared<test::QueuedWindowThread>();
        test::FakeShell shell;
        ProgramTable table;
        table.Progs[7] = "Y:\\Tools\\x.exe";  // Y: is gone: the search runs on a worker
        StartLookups lookups(
            window, probes,
            [&](const StartRequest& request, const StartFindings& findings) {
                finish_on_window_thread(table, shell, request, findings);
            },
            std::chrono::milliseconds(300), BoundedThreads(8));
        ProgramStarter starter({probes, probes->drives, shell, shell}, "F:\\Tastomat.exe");
        lookups.look_up(starter.prepare_slot(table, 7, false));
        ASSERT_TRUE(window->wait_for_posts(1));
        if (c.changed_to) table.set_program(7, *c.changed_to);
        EXPECT_EQ(window->run_pending(), 1);
        // The key was pressed for the program: it starts all the same.
        EXPECT_EQ(shell.opened.size(), 1u);
        EXPECT_EQ(table.Progs[7], c.slot_after);
    }
}

TEST(ProgramStartThreads, PressesOnASilentShareJoinOneLookupAndStayWithinTheBound) {
    using namespace std::chrono;
    using Answer = test::FakeDriveProbes::Answer;
    constexpr std::size_t kLimit = 4;
    constexpr milliseconds kBudget{100};
    auto probes = std::make_shared<test::FakeDriveProbes>();
    // D: and S: are shares whose server is out of reach (held until the end); C: answers.
    probes->drives.types = {{'C', kDriveFixed}, {'D', kDriveRemote}, {'S', kDriveRemote}};
    probes->answers = {{'D', Answer::late}, {'S', Answer::late}};
    probes->files.add_file("C:\\Tools\\y.exe");
    auto window = std::make_shared<test::QueuedWindowThread>();
    test::FakeShell shell;
    ProgramTable table;
    table.Progs[3] = "D:\\Tools\\x.exe";
    table.Progs[4] = "Y:\\Tools\\y.exe";  // found on C:, if a thread is left to ask it
    BoundedThreads threads(kLimit);
    std::vector<int> finished;
    StartLookups lookups(
        window, probes,
        [&](const StartRequest& request, const StartFindings&) {
            finished.push_back(request.index);
        },
        kBudget, threads);
    ProgramStarter starter({probes, probes->drives, shell, shell}, "S:\\Tastomat.exe");

    int posts = 0;
    for (int press = 0; press < 12; ++press) {
        lookups.look_up(starter.prepare_slot(table, 3, false));
        EXPECT_LE(threads.threads(), kLimit);
        EXPECT_EQ(lookups.in_flight(), 1u) << "a second press joins the running lookup";
        if (press % 4 != 3) continue;
        // Every fourth press waits for the answer: the next press asks the drives anew.
        const auto asked = steady_clock::now();
        ASSERT_TRUE(window->wait_for_posts(++posts));
        EXPECT_LT(steady_clock::now() - asked, kBudget * 2 + seconds(3));
        window->run_pending();
        EXPECT_EQ(lookups.in_flight(), 0u);
    }
    EXPECT_EQ(finished, std::vector<int>(12, 3)) << "every press is a start of its own";
    EXPECT_EQ(threads.threads(), kLimit) << "the silent share holds every thread";
    // Another slot still gets an answer by its deadline, if an empty one.
    lookups.look_up(starter.prepare_slot(table, 4, false));
    ASSERT_TRUE(window->wait_for_posts(++posts));
    window->run_pending();
    EXPECT_EQ(finished.back(), 4);
    EXPECT_LE(threads.threads(), kLimit);

    // Once the share answers, the threads take what is in line and end.
    EXPECT_TRUE(probes->release_late(0));
    const auto until = steady_clock::now() + seconds(30);
    while (threads.threads() > 0 && steady_clock::now() < until)
        std::this_thread::sleep_for(milliseconds(5));
    EXPECT_EQ(threads.threads(), 0u);
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

TEST(ProgramStartAtOnce, OnlyAStartOnFixedDrivesThatNeedsNoSearchIsProbedOnTheCallersThread) {
    struct Case {
        const char* what;
        std::string program, dir;
        bool at_once;
        bool dir_exists;
    };
    // C: and F: are fixed, D: a network drive, Q: a disc, R: a card reader; the programs and
    // F:\Work, D:\Work exist.
    const Case cases[] = {
        {"found on a local drive", "F:\\Tools\\x.exe", "F:\\Work", true, true},
        {"local, the working directory missing", "F:\\Tools\\x.exe", "C:\\Gone", true, false},
        {"missing: the search's turn", "C:\\Tools\\x.exe", "", false, false},
        {"on a network drive", "D:\\Tools\\x.exe", "", false, false},
        {"on a removable drive: a card reader may take seconds", "R:\\x.exe", "", false, false},
        {"on a disc, which may have to spin up", "Q:\\x.exe", "", false, false},
        {"working directory on a removable drive", "F:\\Tools\\x.exe", "R:", false, false},
        {"working directory on a network drive", "F:\\Tools\\x.exe", "D:\\Work", false, false},
        {"on a share", "\\\\srv\\share\\x.exe", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeDriveProbes probes;
        probes.drives.types = {{'C', kDriveFixed},
                               {'D', kDriveRemote},
                               {'F', kDriveFixed},
                               {'Q', kDriveCdRom},
                               {'R', kDriveRemovable}};
        probes.files.add_file("F:\\Tools\\x.exe");
        probes.files.add_file("R:\\x.exe");
        probes.files.add_file("Q:\\x.exe");
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

}  // namespace
}  // namespace tastomat
