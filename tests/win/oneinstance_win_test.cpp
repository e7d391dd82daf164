// The single-instance guard with real processes: instance_probe.exe (beside this test) runs
// the guard on its own and writes what it saw to a log file.
#include "components/oneinstance_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "components/instance_block.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "support/temp_folder_win.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;
using tastomat::ScopedHandle;

const wchar_t* const kProbeName = L"instance_probe.exe";

fs::path beside_this_test(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

bool eventually(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class Process {
  public:
    Process(const fs::path& exe, const std::vector<std::wstring>& args) {
        std::wstring line = L"\"" + exe.wstring() + L"\"";
        for (const std::wstring& arg : args)
            line += arg.find(L' ') == std::wstring::npos ? L" " + arg : L" \"" + arg + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            throw std::runtime_error("cannot start " + exe.string());
        CloseHandle(info.hThread);
        handle_.reset(info.hProcess);
        id = info.dwProcessId;
    }
    Process(Process&&) = default;
    ~Process() {
        if (handle_ && running()) TerminateProcess(handle_.get(), 99);
    }
    bool running() const { return WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT; }
    // The exit code once it ended within the limit; -1 when it still runs.
    long ends_within(std::chrono::seconds limit) const {
        if (WaitForSingleObject(handle_.get(), static_cast<DWORD>(limit.count() * 1000)) !=
            WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(handle_.get(), &code);
        return static_cast<long>(code);
    }

    DWORD id = 0;

  private:
    ScopedHandle handle_;
};

struct LogLine {
    DWORD process;
    std::vector<std::string> fields;
};

class OneinstanceTest : public ::testing::Test {
  protected:
    void SetUp() override { SetEnvironmentVariableW(L"TASTOMAT_PROBE_LOG", log.c_str()); }
    void TearDown() override {
        processes.clear();
        SetEnvironmentVariableW(L"TASTOMAT_PROBE_LOG", nullptr);
        SetEnvironmentVariableW(L"TASTOMAT_PROBE_GATE", nullptr);
        SetEnvironmentVariableW(L"TASTOMAT_PROBE_READY", nullptr);
    }

    Process& start(const std::vector<std::wstring>& args = {},
                   const fs::path& exe = beside_this_test(kProbeName)) {
        processes.emplace_back(exe, args);
        return processes.back();
    }

    std::vector<LogLine> lines() const {
        std::ifstream in(log, std::ios::binary);
        std::vector<LogLine> result;
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> fields;
            std::stringstream split(line);
            for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
            if (fields.size() < 2) continue;
            result.push_back({static_cast<DWORD>(std::stoul(fields[0])),
                              std::vector<std::string>(fields.begin() + 1, fields.end())});
        }
        return result;
    }
    bool logged(DWORD process, const std::string& what) const {
        for (const LogLine& l : lines())
            if (l.process == process && l.fields[0] == what) return true;
        return false;
    }
    // A running first copy of the probe.
    Process& first_copy() {
        Process& first = start();
        EXPECT_TRUE(eventually([&] { return logged(first.id, "first"); }, std::chrono::seconds(30)))
            << "the probe did not start as first copy";
        return first;
    }

    test::TempFolder temp{L"tastomat_guard_"};
    const fs::path& root = temp.path();
    fs::path log = root / "guard.log";
    std::deque<Process> processes;  // references stay valid as copies are added
};

TEST_F(OneinstanceTest, LaterStartHandsTheFirstTenParametersOverAndEnds) {
    Process& first = first_copy();
    const std::string long_param(350, 'x');
    std::vector<std::wstring> args{L"eins", L"zwei Worte", L"M\u00fcller", to_wide(long_param)};
    for (int i = 5; i <= 12; ++i) args.push_back(L"p" + std::to_wstring(i));
    Process& later = start(args);

    EXPECT_EQ(later.ends_within(std::chrono::seconds(30)), 2) << "the later copy must hand over";
    std::vector<std::string> expected{"10", "eins", "zwei Worte", "M\xC3\xBCller",
                                      std::string(300, 'x')};
    for (int i = 5; i <= 10; ++i) expected.push_back("p" + std::to_string(i));
    expected.insert(expected.begin(), "started");
    ASSERT_TRUE(eventually([&] { return logged(first.id, "started"); }, std::chrono::seconds(10)));
    for (const LogLine& l : lines())
        if (l.fields[0] == "started") {
            EXPECT_EQ(l.fields, expected);
        }
    EXPECT_TRUE(first.running());
}

TEST_F(OneinstanceTest, TheGuardGoesByTheExecutablesFileNameNotItsFolder) {
    Process& first = first_copy();
    fs::create_directories(root / "anderswo");
    fs::copy_file(beside_this_test(kProbeName), root / "anderswo" / kProbeName);
    fs::copy_file(beside_this_test(kProbeName), root / "anders_benannt.exe");

    Process& same_name = start({L"von-anderswo"}, root / "anderswo" / kProbeName);
    EXPECT_EQ(same_name.ends_within(std::chrono::seconds(30)), 2);

    Process& other_name = start({}, root / "anders_benannt.exe");
    EXPECT_TRUE(
        eventually([&] { return logged(other_name.id, "first"); }, std::chrono::seconds(30)));
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(other_name.running());
}

TEST_F(OneinstanceTest, AfterTheFirstCopyEndedTheNextStartIsTheFirstCopy) {
    Process& first = first_copy();
    Process& quit = start({L"quit"});
    EXPECT_EQ(quit.ends_within(std::chrono::seconds(30)), 2);
    EXPECT_EQ(first.ends_within(std::chrono::seconds(30)), 0);
    first_copy();
}

TEST_F(OneinstanceTest, TwentyCopiesStartedAtOnceLeaveOneThatAnswers) {
    constexpr int kCopies = 20;
    const std::wstring gate = L"TastomatProbeGate" + std::to_wstring(GetCurrentProcessId());
    const std::wstring ready = L"TastomatProbeReady" + std::to_wstring(GetCurrentProcessId());
    const ScopedHandle gate_event(CreateEventW(nullptr, TRUE, FALSE, gate.c_str()));
    const ScopedHandle ready_count(CreateSemaphoreW(nullptr, 0, kCopies, ready.c_str()));
    SetEnvironmentVariableW(L"TASTOMAT_PROBE_GATE", gate.c_str());
    SetEnvironmentVariableW(L"TASTOMAT_PROBE_READY", ready.c_str());
    for (int i = 0; i < kCopies; ++i) start();
    SetEnvironmentVariableW(L"TASTOMAT_PROBE_GATE", nullptr);
    // Every copy is loaded and waits at the gate; then all meet the guard at once.
    for (int i = 0; i < kCopies; ++i)
        ASSERT_EQ(WaitForSingleObject(ready_count.get(), 120000), WAIT_OBJECT_0);
    SetEvent(gate_event.get());

    auto still_running = [&] {
        int n = 0;
        for (const Process& p : processes) n += p.running() ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(eventually([&] { return still_running() <= 1; }, std::chrono::seconds(120)))
        << still_running() << " copies still run";
    ASSERT_EQ(still_running(), 1);
    int firsts = 0;
    for (const LogLine& l : lines()) firsts += l.fields[0] == "first" ? 1 : 0;
    EXPECT_EQ(firsts, 1);
    for (Process& p : processes) {
        if (p.running()) {
            EXPECT_TRUE(logged(p.id, "first"));
            Process& quit = start({L"quit"});
            EXPECT_EQ(quit.ends_within(std::chrono::seconds(30)), 2);
            EXPECT_EQ(p.ends_within(std::chrono::seconds(30)), 0) << "the survivor must answer";
            break;
        }
        EXPECT_EQ(p.ends_within(std::chrono::seconds(0)), 2);
    }
}

// The test itself holds the block, as a first copy would that is slow or hangs.
class HeldBlock {
  public:
    HeldBlock()
        : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      kInstanceBlockSize, kProbeName)),
          view_(static_cast<std::uint8_t*>(
              MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kInstanceBlockSize))) {}
    ~HeldBlock() {
        if (view_) UnmapViewOfFile(view_);
    }
    InstanceBlock block() { return InstanceBlock(view_, kInstanceBlockSize); }
    // Makes the lock and publishes window as the first copy's; the block is then free.
    void publish(HWND window) {
        lock_.reset(CreateSemaphoreW(nullptr, 0, 1, (std::wstring(kProbeName) + L"Sem").c_str()));
        write_window_handle(block(), HandleToULong(window));
        ReleaseSemaphore(lock_.get(), 1, nullptr);
    }

  private:
    ScopedHandle mapping_;
    std::uint8_t* view_;
    ScopedHandle lock_;
};

TEST_F(OneinstanceTest, CopyThatGetsNoAnswerWithinTenSecondsTakesOver) {
    struct Case {
        const char* what;
        bool publish;
    };
    const Case cases[] = {
        {"the lock never appears", false},
        // A window of this thread, which does not read its messages meanwhile.
        {"the first copy does not answer", true},
    };
    for (const Case& c : cases) {
        HeldBlock held;
        const HWND deaf = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          nullptr, nullptr);
        if (c.publish) held.publish(deaf);
        Process& later = start({L"nachzuegler"});
        EXPECT_TRUE(eventually([&] { return logged(later.id, "first"); }, std::chrono::seconds(60)))
            << c.what;
        EXPECT_TRUE(later.running()) << c.what;
        DestroyWindow(deaf);
        processes.clear();
    }
}

TEST(Oneinstance, ObjectsThatCannotBeMadeUnderTheirNames) {
    const std::wstring name = L"tastomat_guard_test_" + std::to_wstring(GetCurrentProcessId());
    struct Case {
        const char* what;
        std::wstring taken;  // a name held by an event, so no mapping or semaphore can have it
        InstanceRole role;
        const char* error;
    };
    const Case cases[] = {
        {"nothing there yet", L"", InstanceRole::first, nullptr},
        // The program then runs as if it were alone.
        {"the block cannot be made", name, InstanceRole::alone, nullptr},
        {"the lock cannot be made", name + L"Sem", InstanceRole::first,
         "Unable to create semaphore"},
    };
    for (const Case& c : cases) {
        const ScopedHandle blocker(
            c.taken.empty() ? nullptr : CreateEventW(nullptr, TRUE, FALSE, c.taken.c_str()));
        Toneinstance guard(nullptr, name);
        if (c.error) {
            try {
                guard.Init();
                ADD_FAILURE() << c.what << ": no error";
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), c.error) << c.what;
            }
        } else {
            EXPECT_EQ(guard.Init(), c.role) << c.what;
        }
        EXPECT_EQ(guard.Isfirstinstance(), c.role == InstanceRole::first) << c.what;
    }
}

}  // namespace
}  // namespace tastomat
