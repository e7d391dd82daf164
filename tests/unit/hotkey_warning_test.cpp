#include "app/hotkey_warning.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tastomat {
namespace {

TEST(HotkeyWarning, NamesTheCombinationOnlyWhenAFinishedKeyWasRefused) {
    struct Case {
        TShortCut key;
        bool registered;
        const char* expected;  // nullptr: no balloon
    };
    const Case cases[] = {
        {kShortCutAlt + 123, false, "Alt+F12 ist bereits von einem anderen Programm belegt."},
        {kShortCutCtrl + kShortCutAlt + 'K', false,
         "Strg+Alt+K ist bereits von einem anderen Programm belegt."},
        {8, false, "Rück ist bereits von einem anderen Programm belegt."},
        {kShortCutAlt + 123, true, nullptr},
        {0, false, nullptr},
        // Alt pressed first while typing Alt+F11: the combination is not finished yet.
        {kShortCutAlt + 18, false, nullptr},
        {kShortCutShift + 16, false, nullptr},
        {kShortCutCtrl + 0xA2, false, nullptr},
        {0x5B, false, nullptr},
        // A key the layout has no name for cannot be named.
        {kShortCutAlt + 0xFF, false, nullptr},
    };
    test::FakeKeyboardLayout layout;
    for (const Case& c : cases) {
        const auto warning = hotkey_taken_warning(c.key, c.registered, layout);
        if (c.expected)
            EXPECT_EQ(warning, std::optional<std::string>(c.expected)) << std::hex << c.key;
        else
            EXPECT_EQ(warning, std::nullopt) << std::hex << c.key;
    }
}

}  // namespace
}  // namespace tastomat
