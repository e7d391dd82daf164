#include "platform/win32/shell_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win32/wide.h"
#include "support/temp_folder_win.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

class WinShellTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(root / "work dir"); }

    // Waits for the started script to write its report.
    std::string wait_for(const fs::path& file) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(file);
            std::stringstream content;
            content << in.rdbuf();
            if (content.str().find("done") != std::string::npos) return content.str();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return {};
    }

    test::TempFolder temp{L"tastomat_shell_"};
    const fs::path& root = temp.path();
};

TEST_F(WinShellTest, OpensAScriptWithItsParametersInTheWorkingDirectory) {
    const fs::path script = root / "report.cmd";
    std::ofstream(script) << "@echo %1>\"%~dp0report.txt\"\r\n"
                          << "@cd>>\"%~dp0report.txt\"\r\n"
                          << "@echo done>>\"%~dp0report.txt\"\r\n";
    WinShell shell;
    ASSERT_TRUE(
        shell.open(to_utf8(script.wstring()), "hello", to_utf8((root / "work dir").wstring())));
    const std::string report = wait_for(root / "report.txt");
    EXPECT_NE(report.find("hello"), std::string::npos) << report;
    EXPECT_NE(report.find("work dir"), std::string::npos) << report;
}

TEST_F(WinShellTest, MissingFileIsAFailure) {
    WinShell shell;
    EXPECT_FALSE(shell.open(to_utf8((root / "missing.exe").wstring()), "", ""));
}

}  // namespace
}  // namespace tastomat
