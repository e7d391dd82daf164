#include "platform/win32/clock_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>

#include "platform/win32/code_page_win.h"
#include "support/regional_format_win.h"
#include "table/table_file.h"

namespace tastomat {
namespace {

using test::RegionalFormat;

TEST(WinClock, GermanFormatsGiveDayMonthYearAndTwentyFourHourTime) {
    // What a German Windows installation has, whatever this machine's user was given.
    const RegionalFormat date(LOCALE_SSHORTDATE, L"dd.MM.yyyy");
    const RegionalFormat time(LOCALE_STIMEFORMAT, L"HH:mm:ss");
    ASSERT_TRUE(date.ok() && time.ok());
    WinClock clock;
    EXPECT_EQ(clock.short_date({2026, 12, 8, 9, 15, 0}), "08.12.2026");
    EXPECT_EQ(clock.long_time({2026, 12, 8, 9, 15, 0}), "09:15:00");
    EXPECT_EQ(clock.long_time({2026, 12, 8, 21, 5, 7}), "21:05:07");
    EXPECT_EQ(start_time_text(clock, {2026, 1, 2, 0, 0, 0}), "02.01.2026");

    const std::string now = start_time_text(clock, clock.now());
    EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?)"))) << now;
}

TEST(WinCodePage, WesternSystemCodePageMatchesWindows1252) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs a Western European system code page";
    WinCodePage system;
    Windows1252 table;
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(system.to_utf8(all), table.to_utf8(all));
    EXPECT_EQ(system.from_utf8(system.to_utf8(all)), all);  // no byte of a file is lost
    EXPECT_EQ(system.from_utf8("\xE2\x82\xAC\xC3\x9C\xCE\xA9"), "\x80\xDC?");  // € Ü Ω
}

}  // namespace
}  // namespace tastomat
