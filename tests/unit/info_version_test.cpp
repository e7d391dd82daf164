// The program's own version, the server's version file and the names and dates the info
// dialog shows.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "info/version.h"
#include "info/version_file.h"
#include "support/fakes.h"

namespace tastomat {
namespace {

TEST(InfoVersion, TextAndNumberOfFileVersions) {
    struct Case {
        FileVersion version;
        const char* text;
        const char* same_as_server;  // the version file text that must compare equal
    };
    const std::vector<Case> cases = {
        {{2, 5, 0, 17}, "2.5.0 Build: 17", "2,05"},
        {{1, 12, 3, 456}, "1.12.3 Build: 456", "1,12"},
        {{1, 150, 0, 0}, "1.150.0 Build: 0", "2,5"},  // the minor part carries over
        {{1, 14, 0, 0}, "1.14.0 Build: 0", "1,14"},   // wrong in the last bit if added
        {{1, 5, 0, 0}, "1.5.0 Build: 0", "1,050"},
        {{0, 7, 0, 0}, "0.7.0 Build: 0", "0,07"},
        {{655, 35, 65535, 65535}, "655.35.65535 Build: 65535", "655,35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(version_text(c.version), c.text);
        EXPECT_EQ(version_number(c.version), parse_version_file(c.same_as_server).value());
    }
    for (int minor = 0; minor < 100; ++minor) {
        const std::string served =
            "3," + std::string(minor < 10 ? "0" : "") + std::to_string(minor);
        EXPECT_EQ(version_number({3, static_cast<std::uint16_t>(minor), 0, 0}),
                  parse_version_file(served).value())
            << served;
    }
}

class FakeExecutableFile final : public ExecutableFile {
  public:
    std::optional<VersionInformation> information;
    std::optional<VersionInformation> version_information(const std::string&) override {
        return information;
    }
    std::optional<LocalDateTime> last_written(const std::string&) override { return {}; }
};

TEST(InfoVersion, MissingVersionInformationOrFixedBlock) {
    FakeExecutableFile exe;
    std::string text = "kept";
    double number = 9.5;
    EXPECT_FALSE(GetVersionText(text, exe, "E:\\Tastomat.exe"));
    EXPECT_FALSE(GetVersionNumber(number, exe, "E:\\Tastomat.exe"));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(number, 9.5);

    exe.information = VersionInformation{};  // information without a fixed block
    EXPECT_TRUE(GetVersionText(text, exe, "E:\\Tastomat.exe"));
    EXPECT_TRUE(GetVersionNumber(number, exe, "E:\\Tastomat.exe"));
    EXPECT_EQ(text, "1.0.0 Build: 0");
    EXPECT_EQ(number, 1.0);
}

TEST(InfoVersion, VersionFileTexts) {
    const std::vector<std::pair<std::string, std::optional<double>>> cases = {
        {"1,05\r\n", 1.05},
        {"1,05", 1.05},
        {"1,14 and then some text", 1.14},
        {"1.06", 1.0},  // a full stop is no separator: the run ends before it
        {"1,050", 1.05},
        {"1,055", 1.055},
        {"12", 12.0},
        {"2,", 2.0},
        {",5", 0.5},
        {"\xEF\xBB\xBF"
         "1,05",
         std::nullopt},  // byte-order mark
        {" 1,05", std::nullopt},
        {"", std::nullopt},
        {",", std::nullopt},
        {"1,0,5", std::nullopt},
        {"1,,05", std::nullopt},
        {"v1,05", std::nullopt},
        {std::string("1,05\0"
                     "9",
                     6),
         1.05},
        {std::string(400, '9'), std::nullopt},  // beyond every double
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_version_file(text), expected);
    }
}

TEST(InfoVersion, LanguageClassOfWindowsLanguageIdentifiers) {
    const std::vector<std::pair<unsigned, int>> cases = {
        {0x0407, 0}, {0x0C07, 0}, {0x0807, 0}, {0x1007, 0}, {0x0409, 1},
        {0x0809, 1}, {0x0C09, 1}, {0x040C, 2}, {0x0410, 2}, {0x0000, 2},
    };
    for (const auto& [id, language] : cases) EXPECT_EQ(language_of(id), language) << id;
}

TEST(InfoVersion, ArchiveNameAndFileDate) {
    EXPECT_EQ(zip_name("C:\\Tools\\Tastomat.exe"), "tastomat.zip");
    EXPECT_EQ(zip_name("E:\\MyLauncher.EXE"), "mylauncher.zip");
    EXPECT_EQ(zip_name("E:\\Stick.v2\\Start"), "start.zip");

    test::FakeClock clock;
    const std::vector<std::pair<LocalDateTime, std::string>> cases = {
        {{2012, 5, 24, 13, 45, 8}, "24.05.2012 13:45:08"},
        {{2012, 5, 24, 13, 45, 9}, "24.05.2012 13:45:08"},  // two-second resolution
        {{2012, 5, 24, 0, 0, 0}, "24.05.2012"},             // midnight: the date alone
        {{2012, 5, 24, 0, 0, 1}, "24.05.2012"},
        {{2012, 5, 24, 0, 0, 2}, "24.05.2012 00:00:02"},
    };
    for (const auto& [time, text] : cases) EXPECT_EQ(file_date_text(time, clock), text);
}

}  // namespace
}  // namespace tastomat
