// A process killed at a random moment while it saves leaves the settings file whole: the
// complete old content or the complete new one, never a mix, never cut short; and the
// next start reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "platform/win32/code_page_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "support/fakes.h"
#include "support/save_generation.h"
#include "support/temp_folder_win.h"
#include "table/table_file.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 200;
// Longer than a save takes, so that kills land in every part of one.
constexpr int kLongestWaitMs = 12;

std::wstring beside_this_program(const std::wstring& name) {
    wchar_t self[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    return fs::path(self).parent_path() / name;
}

// One settings file in a folder of its own, saved by a helper process that is killed
// again and again; a few lanes run side by side, as starting a process takes most of the
// time.
class KillLane {
  public:
    explicit KillLane(const fs::path& dir) : dir_(dir) {
        fs::create_directories(dir_);
        file_ = to_utf8((dir_ / L"Tastomat.ini").wstring());
    }

    // Empty when every kill left a whole file; otherwise what went wrong.
    std::string run(int kills, unsigned seed) {
        ProgramTable first;
        test::fill_generation(first, 0);
        save_table(first, file_, files_, code_page_);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> wait_ms(0, kLongestWaitMs);
        for (int kill = 0; kill < kills; ++kill) {
            const std::string where =
                "kill " + std::to_string(kill) + " (seed " + std::to_string(seed) + "): ";
            std::string error;
            const ScopedHandle saving = start_saving(error);
            if (!saving) return where + error;
            Sleep(static_cast<DWORD>(wait_ms(random)));
            TerminateProcess(saving.get(), 9);
            if (WaitForSingleObject(saving.get(), 30000) != WAIT_OBJECT_0)
                return where + "the helper did not end";
            cut_short += leftovers();
            if (std::string e = check(); !e.empty()) return where + e;
        }
        // What the killed saves left behind goes with the next save that completes.
        save_table(first, file_, files_, code_page_);
        if (leftovers() != 0) return "temporary files stayed after a complete save";
        return {};
    }

    int generation = 0;
    size_t cut_short = 0;

  private:
    std::string raw() { return files_.read_file(file_).value_or(""); }
    size_t leftovers() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})) - 1;
    }
    // The file as a save of that generation lays it out.
    std::string expected(int generation) {
        test::FakeFileSystem memory;
        memory.add_dir(to_utf8(dir_.wstring()));
        ProgramTable table;
        test::fill_generation(table, generation);
        save_table(table, file_, memory, code_page_);
        return memory.content(file_);
    }
    std::string check() {
        ProgramTable read;
        read.load(IniFile(file_, files_, code_page_));
        const int now = test::generation_of(read);
        if (now <= generation)
            return "generation " + std::to_string(now) + " after " + std::to_string(generation);
        if (raw() != expected(now)) return "the file is not one whole save";
        ProgramTable want;
        test::fill_generation(want, now);
        if (read.Progs != want.Progs || read.Parameter != want.Parameter ||
            read.Verzeichnisse != want.Verzeichnisse)
            return "the table read back is not the one saved";
        generation = now;
        return {};
    }
    // Starts the saving helper and returns once it has completed its first save.
    ScopedHandle start_saving(std::string& error) {
        // Named, not inherited: a child that inherits handles takes along whatever the
        // other lanes hold open at that moment, their settings files among them.
        const std::wstring name = L"TastomatKillTest-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(reinterpret_cast<UINT_PTR>(this));
        const ScopedHandle ready(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
        std::wstring command = L"\"" + beside_this_program(L"save_loop.exe") + L"\" \"" +
                               to_wide(file_) + L"\" " + name;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        // Wine now and then fails a start with ERROR_INTERNAL_ERROR while other lanes are
        // killing their helpers at the same moment; a second try succeeds. Anything else,
        // or the same failure again and again, is a real fault.
        DWORD failure = ERROR_SUCCESS;
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &si, &pi)) {
                failure = ERROR_SUCCESS;
                break;
            }
            failure = GetLastError();
            if (failure != ERROR_INTERNAL_ERROR) break;
            Sleep(50);
        }
        if (failure != ERROR_SUCCESS) {
            error = "cannot start save_loop.exe: " + std::to_string(failure);
            return ScopedHandle();
        }
        ScopedHandle process(pi.hProcess);
        CloseHandle(pi.hThread);
        const HANDLE both[] = {ready.get(), process.get()};
        if (WaitForMultipleObjects(2, both, FALSE, 30000) != WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.get(), &code);
            TerminateProcess(process.get(), 1);
            error = "save_loop.exe saved nothing (exit code " + std::to_string(code) + ")";
            return ScopedHandle();
        }
        return process;
    }

    fs::path dir_;
    std::string file_;
    WinFileSystem files_;
    WinCodePage code_page_;
};

class KilledSaves : public ::testing::Test {
  protected:
    test::TempFolder temp_{L"tastomat-kill-"};
    const fs::path& root_ = temp_.path();
};

TEST_F(KilledSaves, FileIsAlwaysOneWholeSaveAndTheNextStartReadsIt) {
    constexpr int kLanes = 4;
    const unsigned seed = std::random_device{}();
    std::vector<std::unique_ptr<KillLane>> lanes;
    std::vector<std::string> errors(kLanes);
    std::vector<std::thread> threads;
    for (int i = 0; i < kLanes; ++i) {
        lanes.push_back(std::make_unique<KillLane>(root_ / std::to_wstring(i)));
        threads.emplace_back([&, i] { errors[i] = lanes[i]->run(kKills / kLanes, seed + i); });
    }
    int saves = 0;
    size_t cut_short = 0;
    for (int i = 0; i < kLanes; ++i) {
        threads[i].join();
        EXPECT_EQ(errors[i], "") << "lane " << i;
        saves += lanes[i]->generation;
        cut_short += lanes[i]->cut_short;
    }
    std::printf("%d kills over %d saves; %zu saves cut short before their rename\n", kKills, saves,
                cut_short);
    // Some kills must have hit a save between its first byte and its rename, or the test
    // has stopped testing what it is for.
    EXPECT_GT(cut_short, 0u);
}

}  // namespace
}  // namespace tastomat
