#include "table/ini_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/fakes.h"
#include "support/hostile_files.h"

namespace tastomat {
namespace {

constexpr const char* kPath = "C:\\Settings\\Tastomat.ini";

struct IniFileTest : ::testing::Test {
    test::FakeFileSystem files;
    Windows1252 cp;

    IniFileTest() { files.add_dir("C:\\Settings"); }
    IniFile open(const std::string& content) {
        files.add_file(kPath, content);
        return IniFile(kPath, files, cp);
    }
};

TEST_F(IniFileTest, ReadTrimsSkipsCommentsAndSplitsAtTheFirstEquals) {
    const IniFile ini = open(
        "stray=before any section\r\n"
        "  [ Main ]  \r\n"
        "; Comment=1\r\n"
        "\r\n"
        "   Path  =   C:\\Program Files\\x.exe   \r\n"
        "Args=-a=1 -b=2\n"
        "Path=second one is shadowed\r"
        "Empty=\r\n");
    EXPECT_EQ(ini.read_string("main", "PATH", "d"), "C:\\Program Files\\x.exe");
    EXPECT_EQ(ini.read_string("Main", "Args", "d"), "-a=1 -b=2");
    EXPECT_EQ(ini.read_string("Main", "Empty", "d"), "");
    EXPECT_TRUE(ini.value_exists("Main", "Empty"));
    EXPECT_FALSE(ini.value_exists("Main", "; Comment"));
    EXPECT_FALSE(ini.value_exists("Main", "stray"));
    EXPECT_EQ(ini.read_string("Main", "Missing", "d"), "d");
    EXPECT_EQ(ini.read_string("Other", "Path", "d"), "d");
    EXPECT_TRUE(ini.section_exists("MAIN"));
    EXPECT_FALSE(ini.section_exists("Main2"));
}

TEST_F(IniFileTest, WriteReplacesInPlaceAppendsToItsSectionAndAddsNewSectionsLast) {
    IniFile ini = open("[one]\r\nb=1\r\nc=2\r\n[Two]\r\nx=y\r\n");
    ini.write_string("ONE", "B", "new");  // replaced where it stands, spelled as written
    ini.write_string("One", "d", "3");    // appended at the end of its section
    ini.write_string("Three", "k", "v");  // new section at the end
    EXPECT_EQ(ini.text(),
              "[one]\r\nB=new\r\nc=2\r\nd=3\r\n\r\n"
              "[Two]\r\nx=y\r\n\r\n"
              "[Three]\r\nk=v\r\n\r\n");
}

TEST_F(IniFileTest, LinesTheProgramDoesNotWriteStayWhereTheyStand) {
    struct Case {
        const char* what;
        std::string file;
        std::string written;  // after writing A/n=1
    };
    const Case cases[] = {
        {"comments, blank lines and text inside a section",
         "[A]\r\n; note\r\n\r\n\r\n  just text \r\nk = v \r\n",
         "[A]\r\n; note\r\n\r\n\r\n  just text \r\nk=v\r\nn=1\r\n\r\n"},
        {"lines before the first section, entries among them",
         "; Tastomat\r\nstray=before any section\r\n\r\n[A]\r\n",
         "; Tastomat\r\nstray=before any section\r\n\r\n[A]\r\nn=1\r\n\r\n"},
        {"a comment at a section's end stays above the next section's header",
         "[A]\r\nk=v\r\n;about B\r\n\r\n\r\n[B]\r\nx=y",
         "[A]\r\nk=v\r\n;about B\r\nn=1\r\n\r\n[B]\r\nx=y\r\n\r\n"},
        {"a header without its bracket is text of the section before", "[A]\r\n[Broken\r\nk=v\r\n",
         "[A]\r\n[Broken\r\nk=v\r\nn=1\r\n\r\n"},
        {"a file of comments only", "; one\n;two\n", "; one\r\n;two\r\n[A]\r\nn=1\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniFile ini = open(c.file);
        EXPECT_FALSE(ini.value_exists("A", "; note"));
        EXPECT_FALSE(ini.value_exists("A", "stray"));
        ini.write_string("A", "n", "1");
        EXPECT_EQ(ini.text(), c.written);
        // What the program wrote reads back the same and writes unchanged.
        const IniFile again = open(c.written);
        EXPECT_EQ(again.text(), c.written);
        EXPECT_EQ(again.entries(), ini.entries());
    }
}

TEST_F(IniFileTest, MissingFileIsEmptyAndANewFileIsAnsiWithCrLf) {
    IniFile ini(kPath, files, cp);
    EXPECT_FALSE(ini.section_exists("Info"));
    EXPECT_EQ(ini.text(), "");
    EXPECT_FALSE(files.has_file(kPath));  // reading creates nothing
    ini.write_string("Info",
                     "Gr\xC3\xBC\xC3\x9F"
                     "e",
                     "\xE2\x82\xAC");
    ini.update_file();
    EXPECT_EQ(files.content(kPath),
              "[Info]\r\nGr\xFC\xDF"
              "e=\x80\r\n\r\n");
}

TEST_F(IniFileTest, UnreadableFileThrowsAndWriteFailureLeavesTheFile) {
    files.add_file(kPath, "[A]\r\nk=v\r\n");
    files.unreadable.insert(test::FakeFileSystem::key(kPath));
    EXPECT_THROW(IniFile(kPath, files, cp), FileError);

    files.unreadable.clear();
    IniFile ini(kPath, files, cp);
    ini.write_string("A", "k", "changed");
    files.fail_writes = true;
    EXPECT_THROW(ini.update_file(), FileError);
    EXPECT_EQ(files.content(kPath), "[A]\r\nk=v\r\n");
}

TEST_F(IniFileTest, FileWithMarkIsWrittenBackWithTheSameMark) {
    IniFile utf8 = open("\xEF\xBB\xBF[A]\r\nk=\xC3\xA4\r\n");
    EXPECT_EQ(utf8.read_string("A", "k", ""), "\xC3\xA4");
    utf8.write_string("A", "n", "\xE2\x86\x92");  // an arrow survives in UTF-8
    utf8.update_file();
    EXPECT_EQ(files.content(kPath), "\xEF\xBB\xBF[A]\r\nk=\xC3\xA4\r\nn=\xE2\x86\x92\r\n\r\n");

    IniFile utf16 = open(std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0v", 18));
    EXPECT_EQ(utf16.encoding(), TextEncoding::Utf16Be);
    EXPECT_EQ(utf16.read_string("a", "K", ""), "v");
    utf16.update_file();
    EXPECT_EQ(files.content(kPath),
              std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0\r\0\n", 26));
}

// A value the code page cannot hold turns the file into UTF-16 for good; one that fits
// leaves the file as it was, byte for byte.
TEST_F(IniFileTest, FileBecomesUtf16WhenAValueDoesNotFitTheCodePage) {
    const std::string lodz =
        "E:\\Pr\xC3\xBC"
        "fung\\\xC5\x81\xC3\xB3"
        "d\xC5\xBA\\probe.exe";
    const std::string ansi = "; Pfade\r\n[A]\r\nk=M\xE4rz\r\n\r\n";  // "März"
    struct Case {
        const char* what;
        std::optional<std::string> file;
        std::string value;
        std::string written;
    };
    const Case cases[] = {
        {"ANSI file, value that fits", ansi, "\xC3\xA4\xE2\x82\xAC",
         "; Pfade\r\n[A]\r\nk=M\xE4rz\r\nn=\xE4\x80\r\n\r\n"},
        {"ANSI file, Polish letters", ansi, lodz,
         "\xFF\xFE" + test::utf16le(u"; Pfade\r\n[A]\r\nk=M\u00E4rz\r\n"
                                    u"n=E:\\Pr\u00FCfung\\\u0141\u00F3d\u017A\\probe.exe\r\n\r\n")},
        {"new file, Cyrillic letters", std::nullopt, "\xD0\x96",
         "\xFF\xFE" + test::utf16le(u"[A]\r\nn=\u0416\r\n\r\n")},
        {"UTF-8 file stays UTF-8", "\xEF\xBB\xBF[A]\r\n", "\xD0\x96",
         "\xEF\xBB\xBF[A]\r\nn=\xD0\x96\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.files.erase(test::FakeFileSystem::key(kPath));
        if (c.file) files.add_file(kPath, *c.file);
        IniFile ini(kPath, files, cp);
        ini.write_string("A", "n", c.value);
        ini.update_file();
        EXPECT_EQ(files.content(kPath), c.written);
        EXPECT_EQ(IniFile(kPath, files, cp).read_string("A", "n", ""), c.value);
    }
    // Once UTF-16, always UTF-16: a later save of plain text keeps the mark.
    IniFile ansi_then_polish = open(ansi);
    ansi_then_polish.write_string("A", "n", lodz);
    ansi_then_polish.update_file();
    ansi_then_polish.write_string("A", "n", "plain");
    ansi_then_polish.update_file();
    EXPECT_TRUE(files.content(kPath).starts_with("\xFF\xFE")) << files.content(kPath);
}

TEST_F(IniFileTest, IntegersAcceptDecimalAndBothHexPrefixes) {
    IniFile ini = open(
        "[N]\r\ndec=42\r\nneg=-7\r\nhex=0x1F\r\ndollar=$ff\r\nall=$FFFFFFFF\r\n"
        "junk=12abc\r\nbig=2147483648\r\nmin=-2147483648\r\n");
    EXPECT_EQ(ini.read_integer("N", "dec", -1), 42);
    EXPECT_EQ(ini.read_integer("N", "neg", -1), -7);
    EXPECT_EQ(ini.read_integer("N", "hex", -1), 31);
    EXPECT_EQ(ini.read_integer("N", "dollar", -1), 255);
    EXPECT_EQ(ini.read_integer("N", "all", 0), -1);
    EXPECT_EQ(ini.read_integer("N", "junk", -1), -1);
    EXPECT_EQ(ini.read_integer("N", "big", -1), -1);
    EXPECT_EQ(ini.read_integer("N", "min", 0), -2147483647 - 1);
    EXPECT_EQ(ini.read_integer("N", "missing", 9), 9);
    ini.write_integer("N", "dec", -12);
    EXPECT_EQ(ini.read_string("N", "dec", ""), "-12");
}

TEST_F(IniFileTest, FlagsAreNonZeroIntegersAndWrittenAsOneOrZero) {
    IniFile ini = open("[F]\r\none=1\r\nzero=0\r\ntwo=2\r\nword=yes\r\n");
    EXPECT_TRUE(ini.read_bool("F", "one", false));
    EXPECT_FALSE(ini.read_bool("F", "zero", true));
    EXPECT_TRUE(ini.read_bool("F", "two", false));
    EXPECT_TRUE(ini.read_bool("F", "word", true));  // unparsable: the default
    EXPECT_FALSE(ini.read_bool("F", "word", false));
    ini.write_bool("F", "one", false);
    ini.write_bool("F", "new", true);
    EXPECT_EQ(ini.text(), "[F]\r\none=0\r\nzero=0\r\ntwo=2\r\nword=yes\r\nnew=1\r\n\r\n");
}

}  // namespace
}  // namespace tastomat
