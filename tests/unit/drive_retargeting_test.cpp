#include "settings_ui/drive_retargeting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>

#include "support/fakes.h"

namespace tastomat {
namespace {

// Fake drives on which the paths exist, a trailing backslash making a folder. Shared with
// the workers, which may outlive the test.
std::shared_ptr<test::FakeDriveProbes> drives_holding(const std::vector<std::string>& paths) {
    auto probes = std::make_shared<test::FakeDriveProbes>();
    for (const std::string& path : paths) {
        if (path.back() == '\\') {
            probes->files.add_dir(path);
        } else {
            probes->files.add_file(path);
        }
    }
    return probes;
}

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
        const auto probes = drives_holding(c.existing);
        test::FakeFileSystem& files = probes->files;
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

        const Retargeting plan = plan_retargeting(table, c.choice);
        apply_retargeting(
            table, plan,
            probe_retargeting(plan, probes,
                              std::chrono::steady_clock::now() + std::chrono::minutes(1)));

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
    }
}

// The drives are asked on a worker and the answer comes back as a task; meanwhile the user
// goes on editing, and a drive may never answer.
TEST(DriveRetargeting, InTheBackgroundUnderTheDeadlineKeepingWhatTheUserChangedMeanwhile) {
    using Answer = test::FakeDriveProbes::Answer;
    using namespace std::chrono;
    constexpr milliseconds kBudget{200};
    const std::string tool = "D:\\Tools\\edit.exe", game = "D:\\Spiele\\s.exe";
    struct Case {
        const char* what;
        Answer e, f;  // how E: and F: answer; both hold both programs
        std::vector<std::string> checked;
        std::function<void(ProgramTable&)> meanwhile;  // the user, before the answer
        std::string a, b;                              // slots A and B afterwards
        std::set<int> lines;                           // rewritten by the answer
        bool window_gone = false;
    };
    const Case cases[] = {
        {"both answer: the last checked drive wins",
         Answer::at_once,
         Answer::at_once,
         {"E:\\", "F:\\"},
         nullptr,
         "F:\\Tools\\edit.exe",
         "F:\\Spiele\\s.exe",
         {kA, kB}},
        {"F: never answers: E: alone counts",
         Answer::at_once,
         Answer::never,
         {"E:\\", "F:\\"},
         nullptr,
         "E:\\Tools\\edit.exe",
         "E:\\Spiele\\s.exe",
         {kA, kB}},
        {"the only drive never answers: nothing moves",
         Answer::never,
         Answer::at_once,
         {"E:\\"},
         nullptr,
         tool,
         game,
         {kA, kB}},
        {"an answer after the deadline is dropped",
         Answer::slow,
         Answer::at_once,
         {"E:\\"},
         nullptr,
         tool,
         game,
         {kA, kB}},
        {"a slot the user chose anew stays as chosen",
         Answer::at_once,
         Answer::at_once,
         {"E:\\"},
         [](ProgramTable& t) { t.set_program(kA, "C:\\Neu\\n.exe"); },
         "C:\\Neu\\n.exe",
         "E:\\Spiele\\s.exe",
         {kB}},
        {"a slot the user deleted stays free",
         Answer::at_once,
         Answer::never,
         {"E:\\", "F:\\"},
         [](ProgramTable& t) { t.set_program(kB, ""); },
         "E:\\Tools\\edit.exe",
         "",
         {kA}},
        {"the window gone: the answer is dropped",
         Answer::at_once,
         Answer::at_once,
         {"E:\\"},
         nullptr,
         tool,
         game,
         {},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto probes = drives_holding({"E:\\Tools\\edit.exe", "E:\\Spiele\\s.exe",
                                            "F:\\Tools\\edit.exe", "F:\\Spiele\\s.exe"});
        probes->answers['E'] = c.e;
        probes->answers['F'] = c.f;
        auto window = std::make_shared<test::QueuedWindowThread>();
        ProgramTable table;
        table.Progs[kA] = tool;
        table.Progs[kB] = game;
        std::set<int> rewritten;
        table.on_program_changed = [&](int i) { rewritten.insert(i); };

        const auto asked = steady_clock::now();
        retarget_in_background(
            plan_retargeting(table, {true, c.checked}), probes, window,
            [&table](const Retargeting& plan, const RetargetFindings& found) {
                apply_retargeting(table, plan, found);
            },
            kBudget, BoundedThreads(c.checked.size()));
        EXPECT_EQ(table.Progs[kA], tool) << "nothing moves before the answer is back";
        if (c.meanwhile) c.meanwhile(table);
        if (c.window_gone) window->close();
        rewritten.clear();
        if (!c.window_gone) {
            ASSERT_TRUE(window->wait_for_posts(1));
            EXPECT_LT(steady_clock::now() - asked, kBudget + seconds(2)) << "waited for a drive";
        }
        window->run_pending();

        EXPECT_EQ(table.Progs[kA], c.a);
        EXPECT_EQ(table.Progs[kB], c.b);
        EXPECT_EQ(rewritten, c.lines);
    }
}

}  // namespace
}  // namespace tastomat
