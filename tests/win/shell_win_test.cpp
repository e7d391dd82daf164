#include "platform/win32/shell_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win32/wide.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

class WinShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() / ("tastomat_shell_" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(root);
        fs::create_directories(root / "work dir");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

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

    fs::path root;
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
