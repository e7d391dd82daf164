#include "support/settings_location.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tastomat {
namespace {

struct SettingsLocationTest : ::testing::Test {
    test::FakeSystemFolders folders;
    test::FakeFileSystem files;
    SettingsLocation compute() { return compute_settings_location(folders, files); }
};

TEST_F(SettingsLocationTest, FollowsTheProgramFileNameWhereverTheProgramLies) {
    const SettingsLocation l = compute();
    EXPECT_EQ(l.SettingsFolder, "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\");
    EXPECT_EQ(l.SettingsFile,
              "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat\\Tastomat.ini");
    EXPECT_EQ(l.ProgramFilesFolder, "C:\\Program Files\\");
    EXPECT_TRUE(files.directory_exists(l.SettingsFolder));

    folders.exe = "X:\\elsewhere\\deep\\Tastomat.exe";
    EXPECT_EQ(compute().SettingsFile, l.SettingsFile);

    folders.exe = "E:\\Tastomat\\Tools.exe";
    EXPECT_EQ(compute().SettingsFile,
              "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tools\\Tools.ini");
}

TEST_F(SettingsLocationTest, NameWithoutExtensionOrWithSeveralDots) {
    folders.exe = "E:\\bin.d\\Starter";
    EXPECT_EQ(compute().SettingsFile,
              "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Starter\\Starter.ini");
    folders.exe = "E:\\Tastomat.v2.exe";
    EXPECT_EQ(compute().SettingsFile,
              "C:\\Users\\anna\\AppData\\Roaming\\Kobaltix\\Tastomat.v2\\Tastomat.v2.ini");
}

TEST_F(SettingsLocationTest, NoApplicationDataFolderMeansTheRootOfTheCurrentDrive) {
    folders.folders.clear();
    const SettingsLocation l = compute();
    EXPECT_EQ(l.SettingsFolder, "\\Kobaltix\\Tastomat\\");
    EXPECT_EQ(l.SettingsFile, "\\Kobaltix\\Tastomat\\Tastomat.ini");
    EXPECT_EQ(l.ProgramFilesFolder, "");
}

TEST(BackupFileName, ReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(backup_file_name("C:\\K\\Tastomat\\Tastomat.ini"), "C:\\K\\Tastomat\\Tastomat.bak");
    EXPECT_EQ(backup_file_name("C:\\K.d\\Tools"), "C:\\K.d\\Tools.bak");
}

}  // namespace
}  // namespace tastomat
