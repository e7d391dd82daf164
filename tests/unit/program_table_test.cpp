#include "table/program_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_start.h"
#include "settings_ui/drive_retargeting.h"
#include "settings_ui/slot_editing.h"
#include "support/fakes.h"
#include "table/table_file.h"

namespace tastomat {
namespace {

constexpr const char* kFile = test::kSettingsFile;
const std::string kHeading = kHintHeading;

struct TableTest : ::testing::Test {
    test::FakeFileSystem files;
    test::FakeClock clock;
    Windows1252 cp;
    ProgramTable table;

    TableTest() { files.add_dir(test::kSettingsDir); }
    void start() { load_table_at_start(table, kFile, files, cp, clock); }
    void save() { save_table(table, kFile, files, cp); }
    std::string file() const { return files.content(kFile); }
};

TEST(SlotKeys, ThreeGroupsWithTheirSectionsKeysAndLabels) {
    const SlotKeys a = slot_keys(0), z = slot_keys(25), d0 = slot_keys(26), d9 = slot_keys(35),
                   f1 = slot_keys(36), f12 = slot_keys(47);
    EXPECT_EQ(a.section + a.program_key + a.dir_key + a.param_key + a.label, "BuchstabenAVAPAA: ");
    EXPECT_EQ(z.program_key + z.label, "ZZ: ");
    EXPECT_EQ(d0.section + d0.program_key + d0.dir_key + d0.param_key + d0.label, "Zahlen0V0P00: ");
    EXPECT_EQ(d9.program_key + d9.dir_key, "9V9");
    EXPECT_EQ(f1.section + f1.program_key + f1.dir_key + f1.param_key + f1.label,
              "FunktionstastenF1V1P1F1: ");
    EXPECT_EQ(f12.program_key + f12.dir_key + f12.param_key + f12.label, "F12V12P12F12: ");
}

TEST_F(TableTest, FirstStartShowsLabelsAloneAndTheHeadingAloneAndRecordsTheStart) {
    start();
    EXPECT_EQ(table.list_line(0), "A: ");
    EXPECT_EQ(table.list_line(26), "0: ");
    EXPECT_EQ(table.list_line(47), "F12: ");
    EXPECT_EQ(table.Erg, kHeading);
    EXPECT_EQ(table.Erg.back(), ':');
    EXPECT_EQ(file(), "[Info]\r\nGestartet=08.12.2026 09:15:00\r\n\r\n");
}

TEST_F(TableTest, FirstRunWritesTheDocumentedFileLayout) {
    start();
    table.set_program(0, "C:\\Tools\\Editor\\edit.exe");
    table.Verzeichnisse[0] = "C:\\Texte\\";
    table.Parameter[0] = "-n liste.txt";
    table.set_program(26, "D:\\Projekte\\");
    table.set_program(36, "C:\\Tools\\calc.exe");
    save();
    const std::string f = file();
    EXPECT_TRUE(f.starts_with(
        "[Info]\r\nGestartet=08.12.2026 09:15:00\r\n\r\n"
        "[Buchstaben]\r\nA=C:\\Tools\\Editor\\edit.exe\r\nVA=C:\\Texte\\\r\nPA=-n liste.txt\r\n"
        "B=\r\nVB=\r\nPB=\r\nC=\r\n"))
        << f;
    EXPECT_NE(
        f.find("Z=\r\nVZ=\r\nPZ=\r\n\r\n[Zahlen]\r\n0=D:\\Projekte\\\r\nV0=\r\nP0=\r\n1=\r\n"),
        std::string::npos);
    EXPECT_NE(f.find("9=\r\nV9=\r\nP9=\r\n\r\n[Funktionstasten]\r\nF1=C:\\Tools\\calc.exe\r\n"
                     "V1=\r\nP1=\r\nF2=\r\n"),
              std::string::npos);
    EXPECT_TRUE(f.ends_with("F12=\r\nV12=\r\nP12=\r\n\r\n"));
    // 4 section headings, 4 blank lines, one start record and three entries per slot.
    EXPECT_EQ(std::count(f.begin(), f.end(), '\n'), 4 + 4 + 1 + 3 * kSlotCount);
    EXPECT_EQ(table.Erg, kHeading +
                             "\r\nA: C:\\Tools\\Editor\\edit.exe\r\n0: D:\\Projekte\\\r\n"
                             "F1: C:\\Tools\\calc.exe");
}

TEST_F(TableTest, LowerCaseKeyLoadsAndIsReplacedWhereItStands) {
    files.add_file(kFile, "[buchstaben]\r\nnotiz=keep\r\na=C:\\a.exe\r\n");
    start();
    EXPECT_EQ(table.Progs[0], "C:\\a.exe");
    EXPECT_EQ(table.list_line(0), "A: C:\\a.exe");
    save();
    EXPECT_TRUE(
        file().starts_with("[buchstaben]\r\nnotiz=keep\r\nA=C:\\a.exe\r\nVA=\r\nPA=\r\nB=\r\n"))
        << file();
    EXPECT_EQ(file().find("[Buchstaben]"), std::string::npos);
}

TEST_F(TableTest, V1OfDigitOneAndOfF1AreIndependent) {
    files.add_dir("C:\\Eins");
    files.add_dir("C:\\Funktion");
    files.add_file(kFile, "[Zahlen]\r\nV1=C:\\Eins\r\n[Funktionstasten]\r\nV1=C:\\Funktion\r\n");
    start();
    EXPECT_EQ(table.Verzeichnisse[27], "C:\\Eins");
    EXPECT_EQ(table.Verzeichnisse[36], "C:\\Funktion");
    table.Verzeichnisse[36] = "C:\\Neu";
    save();
    const IniFile ini(kFile, files, cp);
    EXPECT_EQ(ini.read_string("Zahlen", "V1", ""), "C:\\Eins");
    EXPECT_EQ(ini.read_string("Funktionstasten", "V1", ""), "C:\\Neu");
}

TEST_F(TableTest, BlanksAroundValuesGoAndEqualsInsideStays) {
    files.add_file(kFile,
                   "[Buchstaben]\r\n  B  =  C:\\Program Files\\b.exe  \r\n"
                   "PB= --opt=1 --name = x \r\n");
    start();
    EXPECT_EQ(table.Progs[1], "C:\\Program Files\\b.exe");
    EXPECT_EQ(table.Parameter[1], "--opt=1 --name = x");
}

TEST_F(TableTest, SaveKeepsForeignSectionsAndSavingTwiceEqualsSavingOnce) {
    files.add_file(kFile,
                   "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\n\r\n"
                   "[Check]\r\nWroteSuccesful=1\r\n\r\n"
                   "[Funktionstasten]\r\nExtra=mine\r\nF3=C:\\f3.exe\r\n");
    start();
    table.set_program(3, "C:\\d.exe");
    save();
    const std::string once = file();
    save();
    EXPECT_EQ(file(), once);
    EXPECT_TRUE(
        once.starts_with("[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\n\r\n"
                         "[Check]\r\nWroteSuccesful=1\r\n\r\n"
                         "[Funktionstasten]\r\nExtra=mine\r\nF3=C:\\f3.exe\r\nF1=\r\n"))
        << once;
    const IniFile ini(kFile, files, cp);
    EXPECT_EQ(ini.read_string("Buchstaben", "D", ""), "C:\\d.exe");
    EXPECT_EQ(ini.read_string("Funktionstasten", "Extra", ""), "mine");
    EXPECT_EQ(ini.read_string("Funktionstasten", "F3", ""), "C:\\f3.exe");
}

TEST_F(TableTest, SaveKeepsWhatOthersWroteToTheFileSinceTheStart) {
    start();
    IniFile other(kFile, files, cp);
    other.write_string("Programmliste", "kuerzel", "Strg+Q");
    other.update_file();
    save();
    EXPECT_EQ(IniFile(kFile, files, cp).read_string("Programmliste", "kuerzel", ""), "Strg+Q");
}

TEST_F(TableTest, UnreadableFileLeavesTheTableEmptyAndWritesNothing) {
    files.add_file(kFile, "[Buchstaben]\r\nA=C:\\a.exe\r\n");
    files.unreadable.insert(test::FakeFileSystem::key(kFile));
    EXPECT_THROW(start(), FileError);
    EXPECT_EQ(table.Progs[0], "");
    EXPECT_EQ(table.Buchstaben[0], "");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(TableTest, WriteFailureOnSaveIsReportedAndTheOldFileStays) {
    files.add_file(kFile, "[Buchstaben]\r\nA=C:\\a.exe\r\n");
    start();
    const std::string before = file();
    table.set_program(0, "");
    files.fail_writes = true;
    EXPECT_THROW(save(), FileError);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(table.Progs[0], "");
}

TEST_F(TableTest, SetProgramTellsTheListWhichLineToRewrite) {
    start();
    std::vector<std::string> rewritten;
    table.on_program_changed = [&](int slot) { rewritten.push_back(table.list_line(slot)); };
    table.set_program(37, "E:\\x.exe");
    EXPECT_EQ(rewritten, std::vector<std::string>{"F2: E:\\x.exe"});
}

TEST(Buildhint, FollowsEveryChangeOfTheTable) {
    using Probes = std::shared_ptr<test::FakeDriveProbes>;
    using Change = std::function<void(ProgramTable&, const Probes&)>;
    struct Case {
        const char* what;
        Change change;
        std::string lines;
    };
    const std::string a = "\r\nA: D:\\Tools\\a.exe", b = "\r\nB: D:\\Tools\\b.exe";
    const Case cases[] = {
        {"slot deleted", [](ProgramTable& t, auto&) { delete_slot(t, 1); }, a},
        {"program chosen", [](ProgramTable& t, auto&) { assign_program(t, 2, "C:\\c.exe"); },
         a + b + "\r\nC: C:\\c.exe"},
        {"paths moved to another drive",
         [](ProgramTable& t, const Probes& p) {
             const Retargeting plan = plan_retargeting(t, {true, {"F:\\"}});
             apply_retargeting(
                 t, plan,
                 probe_retargeting(plan, p,
                                   std::chrono::steady_clock::now() + std::chrono::minutes(1)));
         },
         "\r\nA: F:\\Tools\\a.exe\r\nB: F:\\Tools\\b.exe"},
        {"drive search moved a slot",
         [](ProgramTable& t, const Probes& p) {
             test::FakeShell shell;
             ProgramStarter({p, p->drives, shell, shell}, "E:\\Tastomat.exe")
                 .start_slot(t, 0, false);
         },
         "\r\nA: F:\\Tools\\a.exe" + b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto probes = std::make_shared<test::FakeDriveProbes>();
        probes->drives.types['F'] = kDriveFixed;
        probes->files.add_file("F:\\Tools\\a.exe");
        probes->files.add_file("F:\\Tools\\b.exe");
        ProgramTable table;
        for (int i = 0; i < kSlotCount; ++i) table.Buchstaben[i] = slot_keys(i).label;
        table.Progs[0] = "D:\\Tools\\a.exe";
        table.Progs[1] = "D:\\Tools\\b.exe";
        table.Buildhint();
        c.change(table, probes);
        EXPECT_EQ(table.Erg, kHeading + c.lines);
    }
}

TEST(Buildhint, BlankOnlyProgramsCountAsFreeAndAnEmptyListGivesTheHeading) {
    ProgramTable t;
    t.Buchstaben[0] = "A: ";
    t.Buchstaben[1] = "B: ";
    t.Progs[0] = "   ";
    t.Progs[1] = "C:\\b.exe";
    t.Buildhint();
    EXPECT_EQ(t.Erg, kHeading + "\r\nB: C:\\b.exe");
    t.Buildhint({});
    EXPECT_EQ(t.Erg, kHeading);
}

TEST(Getprogparams, MissingWorkingDirectoryComesBackEmpty) {
    test::FakeFileSystem files;
    files.add_dir("C:\\Work");
    ProgramTable t;
    t.Progs[5] = "C:\\f.exe";
    t.Parameter[5] = "-x";
    t.Verzeichnisse[5] = "C:\\Gone";
    t.Verzeichnisse[6] = "C:\\Work";
    std::string exe = "old", dir = "old", param = "old";
    t.Getprogparams(5, exe, dir, param, files, "E:");
    EXPECT_EQ(exe + "|" + dir + "|" + param, "C:\\f.exe||-x");
    t.Getprogparams(6, exe, dir, param, files, "E:");
    EXPECT_EQ(exe + "|" + dir + "|" + param, "|C:\\Work|");
}

TEST(Getprogparams, WorkingDirectoryWithoutDriveIsLookedForOnTheLauncherDrive) {
    test::FakeFileSystem files;
    files.add_dir("E:\\Arbeit");
    ProgramTable t;
    t.Verzeichnisse[0] = "\\Arbeit";
    t.Verzeichnisse[1] = "\\Fehlt";
    std::string exe, dir, param;
    // Kept as stored: the start puts the drive in front itself.
    t.Getprogparams(0, exe, dir, param, files, "E:");
    EXPECT_EQ(dir, "\\Arbeit");
    t.Getprogparams(1, exe, dir, param, files, "E:");
    EXPECT_EQ(dir, "");
}

TEST(StartTime, DateAndTimeOrTheDateAloneAtMidnight) {
    test::FakeClock clock;
    EXPECT_EQ(start_time_text(clock, {2026, 12, 8, 9, 15, 0}), "08.12.2026 09:15:00");
    EXPECT_EQ(start_time_text(clock, {2026, 12, 8, 0, 0, 0}), "08.12.2026");
    EXPECT_EQ(start_time_text(clock, {2026, 12, 8, 0, 0, 1}), "08.12.2026 00:00:01");
}

}  // namespace
}  // namespace tastomat
