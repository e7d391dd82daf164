#include "platform/win32/keyboard_layout_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "components/shortcut.h"

namespace tastomat {
namespace {

TEST(WinKeyboardLayoutTest, KeysWithAScanCodeHaveANameOthersNone) {
    WinKeyboardLayout layout;
    EXPECT_NE(layout.key_name(VK_SHIFT), "");
    EXPECT_NE(layout.key_name(VK_OEM_MINUS), "");
    EXPECT_EQ(layout.key_name(VK_LBUTTON), "");
    EXPECT_EQ(ShortCutToText(kShortCutAlt + VK_LBUTTON, layout), "");
}

// Whatever the layout calls its keys, the text written for a key reads back as a key with
// the same text (two keys may share a name, the first code then wins).
TEST(WinKeyboardLayoutTest, EveryNamedKeyReadsBackToTheSameText) {
    WinKeyboardLayout layout;
    int named = 0;
    for (unsigned vk = 1; vk <= 255; ++vk) {
        const auto value = static_cast<TShortCut>(kShortCutCtrl | vk);
        const std::string text = ShortCutToText(value, layout);
        if (text.empty()) continue;
        ++named;
        EXPECT_EQ(ShortCutToText(TextToShortCut(text, layout), layout), text) << vk;
    }
    EXPECT_GT(named, 80);
}

}  // namespace
}  // namespace tastomat
