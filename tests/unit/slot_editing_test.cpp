#include "settings_ui/slot_editing.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tastomat {
namespace {

struct SlotEditingTest : ::testing::Test {
    ProgramTable table;
    std::vector<int> rewritten;
    SlotEditingTest() {
        for (int i = 0; i < kSlotCount; ++i) table.Buchstaben[i] = slot_keys(i).label;
        table.on_program_changed = [this](int i) { rewritten.push_back(i); };
        table.Progs[4] = "C:\\Tools\\x.exe";
        table.Parameter[4] = "-n";
        table.Verzeichnisse[4] = "C:\\Daten\\";
    }
};

TEST(FolderPart, UpToTheLastBackslashOrColon) {
    EXPECT_EQ(folder_part("C:\\Tools\\x.exe"), "C:\\Tools\\");
    EXPECT_EQ(folder_part("E:x.exe"), "E:");
    EXPECT_EQ(folder_part("C:\\"), "C:\\");
    EXPECT_EQ(folder_part(""), "");
    EXPECT_EQ(folder_part("x.exe"), "");
}

TEST_F(SlotEditingTest, SameProgramKeepsParametersAnotherClearsThem) {
    EXPECT_FALSE(assign_program(table, 4, "C:\\Tools\\x.exe"));
    EXPECT_EQ(table.Parameter[4], "-n");
    EXPECT_EQ(table.Verzeichnisse[4], "C:\\Daten\\");
    EXPECT_TRUE(rewritten.empty());

    // Letter case counts; blanks around the chosen name are dropped.
    EXPECT_TRUE(assign_program(table, 4, " C:\\TOOLS\\x.exe "));
    EXPECT_EQ(table.Progs[4], "C:\\TOOLS\\x.exe");
    EXPECT_EQ(table.Parameter[4], "");
    EXPECT_EQ(table.Verzeichnisse[4], "");
    EXPECT_EQ(rewritten, std::vector<int>{4});
    EXPECT_EQ(table.list_line(4), "E: C:\\TOOLS\\x.exe");
}

TEST_F(SlotEditingTest, FolderAlwaysEndsWithABackslashUnlessItIsTheSlotsOwnFolder) {
    table.Progs[5] = "C:\\x.exe";
    table.Parameter[5] = "-a";
    EXPECT_FALSE(assign_folder(table, 5, "C:\\"));  // the drive root already holding it
    EXPECT_EQ(table.Progs[5], "C:\\x.exe");
    EXPECT_EQ(table.Parameter[5], "-a");

    EXPECT_TRUE(assign_folder(table, 4, "D:\\Projekte"));
    EXPECT_EQ(table.Progs[4], "D:\\Projekte\\");
    EXPECT_EQ(table.Parameter[4], "");
    EXPECT_EQ(table.Verzeichnisse[4], "");
    EXPECT_TRUE(assign_folder(table, 6, "D:\\Projekte\\"));
    EXPECT_EQ(table.Progs[6], "D:\\Projekte\\");
}

TEST_F(SlotEditingTest, DeletingLeavesTheLabelAlone) {
    delete_slot(table, 4);
    EXPECT_EQ(table.list_line(4), "E: ");
    EXPECT_EQ(table.Progs[4] + table.Parameter[4] + table.Verzeichnisse[4], "");
    EXPECT_EQ(rewritten, std::vector<int>{4});
}

TEST_F(SlotEditingTest, HintShowsParameterAboveDirectory) {
    EXPECT_EQ(slot_hint(table, 4), "Parameter: -n\r\nVerzeichnis: C:\\Daten\\");
    table.Parameter[4].clear();
    EXPECT_EQ(slot_hint(table, 4), "Verzeichnis: C:\\Daten\\");
    table.Parameter[4] = "-n";
    table.Verzeichnisse[4].clear();
    EXPECT_EQ(slot_hint(table, 4), "Parameter: -n");
    EXPECT_EQ(slot_hint(table, 7), "");
}

TEST(ParameterFile, ReplacesAnExistingFileAndAppendsOtherwise) {
    test::FakeFileSystem files;
    files.add_dir("C:\\Daten");
    files.add_file("C:\\Daten\\a.txt");
    EXPECT_EQ(add_parameter_file("", "C:\\Daten\\a.txt", files), " C:\\Daten\\a.txt");
    EXPECT_EQ(add_parameter_file("-n", "C:\\Daten\\a.txt", files), "-n C:\\Daten\\a.txt");
    EXPECT_EQ(add_parameter_file("C:\\Daten\\a.txt", "C:\\Daten\\b.txt", files),
              "C:\\Daten\\b.txt");
    // A folder is no file: the choice is appended, and names with blanks stay unquoted.
    EXPECT_EQ(add_parameter_file("C:\\Daten", "C:\\Meine Daten\\b.txt", files),
              "C:\\Daten C:\\Meine Daten\\b.txt");
}

}  // namespace
}  // namespace tastomat
