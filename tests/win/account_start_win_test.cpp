// The start under another account against the real logon service.
#include "platform/win32/account_start_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "platform/file_system.h"

namespace tastomat {
namespace {

TEST(AccountStart, RefusedLogonIsAFailedStartWhateverTheLastErrorSays) {
    // Wine refuses every such start and leaves the last error at 0; Windows refuses an
    // unknown account with an error code. Neither may count as started.
    SetLastError(0);
    EXPECT_FALSE(start_as_account({"niemand-hier", WideSecret(L"falsch")},
                                  "\"C:\\windows\\notepad.exe\"", "C:\\windows"));
}

TEST(AccountStart, DirectoryThatIsNoDirectoryStartsNothingAndSaysSo) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "tastomat_kein_ordner").string();
    for (const std::string& dir : {missing, std::string("C:\\windows\\notepad.exe")}) {
        try {
            start_as_account({"niemand-hier", WideSecret(L"falsch")},
                             "\"C:\\windows\\notepad.exe\"", dir);
            ADD_FAILURE() << dir << ": no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(dir), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tastomat
