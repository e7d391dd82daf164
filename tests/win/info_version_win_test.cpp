// The program's own version as Windows reports it, and the release files made from it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "info/version.h"
#include "info/version_file.h"
#include "platform/win32/clock_win.h"
#include "platform/win32/executable_file_win.h"
#include "platform/win32/wide.h"
#include "support/regional_format_win.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(ProgramVersion, ReleaseFilesCarryTheBuiltProgramsVersion) {
    WinExecutableFile exe;
    const std::string path = to_utf8(TASTOMAT_EXE_PATH);
    std::string text;
    ASSERT_TRUE(GetVersionText(text, exe, path));
    EXPECT_EQ(to_wide(text), std::wstring(TASTOMAT_VERSION_TEXT_W) + L" Build: 0");

    double installed = 0;
    ASSERT_TRUE(GetVersionNumber(installed, exe, path));
    const fs::path release = TASTOMAT_RELEASE_DIR;
    const auto served = parse_version_file(read_all(release / "tastomat.ver"));
    ASSERT_TRUE(served.has_value());
    EXPECT_EQ(*served, installed) << "the check would offer the program as an update of itself";

    const std::string zip = read_all(release / "tastomat.zip");
    ASSERT_EQ(zip.rfind("PK\x03\x04", 0), 0u) << "not a zip archive";
    EXPECT_NE(zip.find("Tastomat.exe"), std::string::npos);
}

TEST(ProgramVersion, FileWithoutVersionInformationAndTheFileDate) {
    // The test program itself carries no version information.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    WinExecutableFile exe;
    std::string text = "unchanged";
    double number = 7;
    EXPECT_FALSE(GetVersionText(text, exe, to_utf8(self)));
    EXPECT_FALSE(GetVersionNumber(number, exe, to_utf8(self)));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(number, 7);

    // Written at 13:45:09 local time: shown with the seconds made even, in the formats of a
    // German Windows installation.
    const test::RegionalFormat date(LOCALE_SSHORTDATE, L"dd.MM.yyyy");
    const test::RegionalFormat time(LOCALE_STIMEFORMAT, L"HH:mm:ss");
    ASSERT_TRUE(date.ok() && time.ok());
    const fs::path file =
        fs::temp_directory_path() / ("tastomat_date_" + std::to_string(GetCurrentProcessId()));
    std::ofstream(file) << "x";
    SYSTEMTIME local{2012, 5, 4, 24, 13, 45, 9, 0}, utc{};
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    FILETIME written{};
    SystemTimeToFileTime(&utc, &written);
    {
        HANDLE h = CreateFileW(file.wstring().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SetFileTime(h, nullptr, nullptr, &written);
        CloseHandle(h);
    }
    const auto when = exe.last_written(to_utf8(file.wstring()));
    fs::remove(file);
    ASSERT_TRUE(when.has_value());
    WinClock clock;
    EXPECT_EQ(file_date_text(*when, clock), "24.05.2012 13:45:08");
    EXPECT_FALSE(exe.last_written("C:\\no\\such\\file.exe").has_value());
}

}  // namespace
}  // namespace tastomat
