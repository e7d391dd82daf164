#include "admin/run_as.h"

#include <gtest/gtest.h>

namespace tastomat {
namespace {

TEST(RunAsCommandLine, PathIsQuotedAndParametersFollowAsTyped) {
    struct Case {
        const char* exe;
        const char* param;
        const char* expected;
    };
    const Case cases[] = {
        // A path with blanks must not be read as C:\Program.exe with arguments.
        {R"(C:\Program Files\x\y.exe)", "", R"("C:\Program Files\x\y.exe")"},
        {R"(C:\Tools\x.exe)", "", R"("C:\Tools\x.exe")"},
        // Two words stay two arguments, as under a normal start.
        {R"(C:\Tools\x.exe)", "-n liste.txt", R"("C:\Tools\x.exe" -n liste.txt)"},
        {R"(C:\Tools\x.exe)", R"("a b" c)", R"("C:\Tools\x.exe" "a b" c)"},
        {R"(C:\Tools\x.exe)", " -v ", R"("C:\Tools\x.exe"  -v )"},
        {R"(\\server\share\Ü x.exe)", "-v", R"("\\server\share\Ü x.exe" -v)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run_as_command_line(c.exe, c.param), c.expected)
            << "exe " << c.exe << ", param " << c.param;
    }
}

}  // namespace
}  // namespace tastomat
