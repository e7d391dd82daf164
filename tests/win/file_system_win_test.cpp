#include "platform/win32/file_system_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "support/temp_folder_win.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

class WinFileSystemTest : public ::testing::Test {
  protected:
    std::string path(const std::wstring& name) const { return to_utf8((root_ / name).wstring()); }
    static std::string raw(const std::string& p) {
        std::ifstream in(fs::path(to_wide(p)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(fs::path(to_wide(p)), std::ios::binary) << bytes;
    }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(root_), {}));
    }

    test::TempFolder temp_{L"tastomat-fs-"};
    const fs::path& root_ = temp_.path();
    // A holder that does not let go is given up on quickly here.
    WinFileSystem files{HeldFileWait{200, 50}};
};

TEST_F(WinFileSystemTest, ReplaceWritesExactlyTheBytesAndLeavesNoTemporaryFile) {
    const std::string target = path(L"Einstellung \u00e4.ini");
    const std::string bytes("\xFF\xFE[\0\r\n\x80\x00z", 9);
    files.replace_file(target, bytes);
    EXPECT_EQ(raw(target), bytes);
    files.replace_file(target, "short");
    EXPECT_EQ(raw(target), "short");
    EXPECT_EQ(files.read_file(target), std::optional<std::string>("short"));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WinFileSystemTest, ReplaceOntoADirectoryFailsAndLeavesItAlone) {
    const std::string target = path(L"Tastomat.ini");
    fs::create_directory(to_wide(target));
    put(path(L"Tastomat.ini\\inner.txt"), "inner");
    EXPECT_THROW(files.replace_file(target, "new"), FileError);
    EXPECT_TRUE(files.directory_exists(target));
    EXPECT_EQ(raw(path(L"Tastomat.ini\\inner.txt")), "inner");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WinFileSystemTest, ReplaceOfAFileHeldOpenByAnotherProgramKeepsTheOldContent) {
    const std::string target = path(L"Tastomat.ini");
    put(target, "[Buchstaben]\r\nA=C:\\old.exe\r\n");
    {
        // Another program reading the file without allowing it to be deleted or renamed.
        HANDLE h = CreateFileW(to_wide(target).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_THROW(files.replace_file(target, "truncated"), FileError);
        CloseHandle(h);
    }
    EXPECT_EQ(raw(target), "[Buchstaben]\r\nA=C:\\old.exe\r\n");
    EXPECT_EQ(entries(), 1u);
}

// A virus scanner or sync client that holds the file for a second, reading it without
// letting it be renamed (the rename fails with access denied or a sharing violation) or
// without sharing it at all (opening it fails with a sharing violation), is waited out; one
// that holds it for longer than the wait gets the error and the old content stays.
TEST_F(WinFileSystemTest, AHolderIsWaitedOutForAboutTwoSecondsThenTheErrorComes) {
    struct Case {
        const char* what;
        DWORD share;
        bool let_go_after_a_second;
        bool replace;  // else read
    };
    const Case cases[] = {
        {"rename, reader without delete sharing for 1 s", FILE_SHARE_READ, true, true},
        {"rename, holder without sharing for 1 s", 0, true, true},
        {"read, holder without sharing for 1 s", 0, true, false},
        {"rename, reader without delete sharing for good", FILE_SHARE_READ, false, true},
        {"read, holder without sharing for good", 0, false, false},
    };
    const std::string target = path(L"Tastomat.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(target, "old");
        HANDLE h = CreateFileW(to_wide(target).c_str(), GENERIC_READ, c.share, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        std::thread holder;
        if (c.let_go_after_a_second) {
            holder = std::thread([h] {
                Sleep(1000);
                CloseHandle(h);
            });
        }
        WinFileSystem waiting;  // the wait the program uses
        const DWORD started = GetTickCount();
        if (c.let_go_after_a_second) {
            if (c.replace) {
                EXPECT_NO_THROW(waiting.replace_file(target, "new"));
            } else {
                EXPECT_EQ(waiting.read_file(target), std::optional<std::string>("old"));
            }
            holder.join();
            EXPECT_EQ(raw(target), c.replace ? "new" : "old");
        } else {
            if (c.replace) {
                EXPECT_THROW(waiting.replace_file(target, "new"), FileError);
            } else {
                EXPECT_THROW(waiting.read_file(target), FileError);
            }
            const DWORD waited = GetTickCount() - started;
            EXPECT_GE(waited, 1900u);
            EXPECT_LT(waited, 6000u);
            CloseHandle(h);
            EXPECT_EQ(raw(target), "old");
        }
        EXPECT_EQ(entries(), 1u) << "the temporary file is gone";
    }
}

TEST_F(WinFileSystemTest, ReplaceOfAReadOnlyFileFailsWithTheOldContentKept) {
    const std::string target = path(L"Tastomat.ini");
    put(target, "old");
    SetFileAttributesW(to_wide(target).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(files.replace_file(target, "new"), FileError);
    EXPECT_EQ(raw(target), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WinFileSystemTest, ReplaceInAMissingFolderFailsWithTheFileNameInTheMessage) {
    const std::string target = path(L"missing\\Tastomat.ini");
    try {
        files.replace_file(target, "x");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
    EXPECT_EQ(entries(), 0u);
}

TEST_F(WinFileSystemTest, ReadingMissingLockedAndDirectoryPaths) {
    EXPECT_EQ(files.read_file(path(L"none.ini")), std::nullopt);
    EXPECT_EQ(files.read_file(path(L"no\\such\\dir.ini")), std::nullopt);
    EXPECT_EQ(files.read_file(to_utf8(root_.wstring())), std::nullopt);
    const std::string target = path(L"locked.ini");
    put(target, "x");
    HANDLE h = CreateFileW(to_wide(target).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_THROW(files.read_file(target), FileError);
    CloseHandle(h);
    EXPECT_EQ(files.read_file(target), std::optional<std::string>("x"));
}

TEST_F(WinFileSystemTest, ExistenceTestsKnowDrivesFoldersAndFiles) {
    const std::string file = path(L"f.txt");
    put(file, "");
    EXPECT_TRUE(files.directory_exists("C:"));
    EXPECT_TRUE(files.directory_exists("C:\\"));
    EXPECT_TRUE(files.directory_exists(to_utf8(root_.wstring())));
    EXPECT_TRUE(files.directory_exists(to_utf8(root_.wstring()) + "\\"));
    EXPECT_FALSE(files.directory_exists(file));
    EXPECT_FALSE(files.directory_exists(path(L"none")));
    EXPECT_FALSE(files.directory_exists(""));
    EXPECT_TRUE(files.file_exists(file));
    EXPECT_FALSE(files.file_exists(to_utf8(root_.wstring())));
    EXPECT_FALSE(files.file_exists(path(L"none")));
}

TEST_F(WinFileSystemTest, CreateDirectoriesMakesEveryMissingParent) {
    const std::string deep = path(L"Kobaltix\\Tastomat\\");
    EXPECT_TRUE(files.create_directories(deep));
    EXPECT_TRUE(files.directory_exists(deep));
    EXPECT_TRUE(files.create_directories(deep));  // already there
    put(path(L"plain"), "");
    EXPECT_FALSE(files.create_directories(path(L"plain\\sub")));
}

TEST_F(WinFileSystemTest, CopyOverwritesAnExistingDestination) {
    put(path(L"a.ini"), "new");
    put(path(L"a.bak"), "old backup");
    EXPECT_TRUE(files.copy_file(path(L"a.ini"), path(L"a.bak")));
    EXPECT_EQ(raw(path(L"a.bak")), "new");
    EXPECT_FALSE(files.copy_file(path(L"none.ini"), path(L"a.bak")));
    EXPECT_EQ(raw(path(L"a.bak")), "new");
}

// A full disk. The test script mounts a small file system and names it in
// TASTOMAT_FULL_DISK (a Linux path, reached through Wine's drive Z:).
TEST(WinFileSystemOnAFullDisk, ReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const char* mount = std::getenv("TASTOMAT_FULL_DISK");
    if (!mount || !*mount) GTEST_SKIP() << "no small file system mounted (TASTOMAT_FULL_DISK)";
    std::string dir = std::string("Z:") + mount;
    std::replace(dir.begin(), dir.end(), '/', '\\');
    const std::string target = dir + "\\Tastomat.ini";
    const std::wstring filler = to_wide(dir + "\\filler");
    WinFileSystem files;
    const std::string old = "[Buchstaben]\r\nA=C:\\old.exe\r\n";
    files.replace_file(target, old);
    {
        // Fill every block that is left.
        const ScopedFile h(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(h);
        const std::string block(size_t{64} * 1024, 'f');
        DWORD written = 0;
        while (
            WriteFile(h.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
            written > 0) {
        }
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    }
    EXPECT_THROW(files.replace_file(target, std::string(size_t{256} * 1024, 'n')), FileError);
    EXPECT_EQ(files.read_file(target), std::optional<std::string>(old));
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(fs::path(to_wide(dir))))
        entries += !e.is_directory();
    EXPECT_EQ(entries, 2u);  // the settings file and the filler, no temporary file

    DeleteFileW(filler.c_str());
    files.replace_file(target, "new");
    EXPECT_EQ(files.read_file(target), std::optional<std::string>("new"));
    DeleteFileW(to_wide(target).c_str());
}

TEST(SystemCallFailure, TheReportNamesTheCallAndKeepsTheSystemsCodeAndText) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    try {
        throw_last_error("CreateWindowEx");
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("CreateWindowEx failed: ", 0), 0u) << text;
        EXPECT_NE(text.find(system_message(ERROR_INVALID_WINDOW_HANDLE)), std::string::npos)
            << text;
        EXPECT_NE(text.find("(error 1400)"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tastomat
