// Settings files on a real disk, in every encoding a user's file may have.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/code_page_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/wide.h"
#include "support/fakes.h"
#include "support/hostile_files.h"
#include "support/settings_location.h"
#include "support/temp_folder_win.h"
#include "table/table_file.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

const std::string kUmlautPath =
    "C:\\\xC3\x9C"
    "bung\\m\xC3\xA4rz.exe";                    // C:\Übung\märz.exe
const std::string kOmega = "C:\\\xCE\xA9.exe";  // not in Windows-1252

class SettingsFileOnDisk : public ::testing::Test {
  protected:
    void put(const std::string& bytes) {
        std::ofstream(fs::path(to_wide(file_)), std::ios::binary) << bytes;
    }
    std::string raw() const {
        std::ifstream in(fs::path(to_wide(file_)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Loads the table as at start-up, assigns slot B and closes the settings window.
    ProgramTable start_and_save(const std::string& program_b) {
        ProgramTable table;
        load_table_at_start(table, file_, files_, code_page_, clock_);
        table.set_program(1, program_b);
        save_table(table, file_, files_, code_page_);
        return table;
    }

    test::TempFolder temp_{L"tastomat-ini-"};
    const fs::path& dir_ = temp_.path();
    std::string file_ = to_utf8((dir_ / L"Tastomat.ini").wstring());
    WinFileSystem files_;
    WinCodePage code_page_;
    test::FakeClock clock_;
};

TEST_F(SettingsFileOnDisk, MarkedFilesRoundTripWithTheirMarkAndEveryCharacter) {
    Windows1252 any;  // the code page plays no part for marked files
    const TextEncoding encodings[] = {TextEncoding::Utf8Bom, TextEncoding::Utf16Le,
                                      TextEncoding::Utf16Be};
    for (const TextEncoding enc : encodings) {
        SCOPED_TRACE(static_cast<int>(enc));
        put(encode_text("[Buchstaben]\r\nA=" + kUmlautPath + "\r\n", enc, any));
        const ProgramTable table = start_and_save(kOmega);
        EXPECT_EQ(table.Progs[0], kUmlautPath);

        const DecodedText back = decode_text(raw(), any);
        EXPECT_EQ(back.encoding, enc);
        std::string expected = "[Buchstaben]\r\nA=";
        expected.append(kUmlautPath).append("\r\nVA=\r\nPA=\r\nB=").append(kOmega);
        EXPECT_TRUE(back.text.starts_with(expected + "\r\n")) << back.text;
        EXPECT_NE(back.text.find("[Info]\r\nGestartet=08.12.2026 09:15:00\r\n"), std::string::npos);
    }
}

TEST_F(SettingsFileOnDisk, AnsiFileStaysAnsiUntilAValueDoesNotFitTheSystemCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs a Western European system code page";
    put("; Pfade\r\n[Buchstaben]\r\nA=C:\\\xDC"
        "bung\\m\xE4rz.exe\r\n");
    start_and_save("C:\\b.exe");
    // No mark is added, umlauts stay single bytes, the comment stays where it was.
    EXPECT_TRUE(
        raw().starts_with("; Pfade\r\n[Buchstaben]\r\nA=C:\\\xDC"
                          "bung\\m\xE4rz.exe\r\nVA=\r\nPA=\r\nB=C:\\b.exe\r\n"))
        << raw();

    const ProgramTable table = start_and_save(kOmega);
    EXPECT_EQ(table.Progs[0], kUmlautPath);
    const DecodedText back = decode_text(raw(), code_page_);
    EXPECT_EQ(back.encoding, TextEncoding::Utf16Le);
    EXPECT_TRUE(back.text.starts_with("; Pfade\r\n[Buchstaben]\r\nA=" + kUmlautPath +
                                      "\r\nVA=\r\nPA=\r\nB=" + kOmega + "\r\n"))
        << back.text;
}

// The damaged and hostile files of the portable tests, on a real disk through the system's
// own file functions and code page.
TEST_F(SettingsFileOnDisk, DamagedAndHostileFilesStartAndLoseNothingOnSave) {
    const std::string backup = backup_file_name(file_);
    for (const test::HostileFile& f : test::hostile_files()) {
        DeleteFileW(to_wide(backup).c_str());
        put(f.settings);
        if (f.backup) std::ofstream(fs::path(to_wide(backup)), std::ios::binary) << *f.backup;
        EXPECT_EQ(test::start_then_save(f, file_, FormStateFile{files_, code_page_, ','}, clock_),
                  "")
            << f.what;
    }
}

TEST(WinSystemFolders, FoldersEndInABackslashAndTheSettingsFolderIsCreated) {
    WinSystemFolders folders;
    WinFileSystem files;
    const std::string appdata = folders.special_folder(kFolderAppData);
    ASSERT_FALSE(appdata.empty());
    EXPECT_EQ(appdata.back(), '\\');
    EXPECT_TRUE(files.directory_exists(appdata));
    EXPECT_EQ(folders.special_folder(0x11), "");  // "My Computer" has no file-system path
    EXPECT_TRUE(folders.module_path().ends_with("\\win_tests.exe")) << folders.module_path();

    const SettingsLocation l = compute_settings_location(folders, files);
    EXPECT_EQ(l.SettingsFile, appdata + "Kobaltix\\win_tests\\win_tests.ini");
    EXPECT_TRUE(files.directory_exists(l.SettingsFolder));
    EXPECT_EQ(l.ProgramFilesFolder.back(), '\\');
}

}  // namespace
}  // namespace tastomat
