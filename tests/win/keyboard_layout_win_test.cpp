#include "platform/win32/keyboard_layout_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

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

// The keypad's operators share their bare scan codes with other keys ("/" with the "-" key
// of a German keyboard or the "/" key of an American one, "*" with Print Screen); asked
// without the extended bit the layout gave them those keys' names, and the text read back
// as the other key.
TEST(WinKeyboardLayoutTest, KeypadAndExtendedKeysKeepTheirCodeThroughTheText) {
    WinKeyboardLayout layout;
    const auto round_trip = [&](unsigned vk) {
        const auto value = static_cast<TShortCut>(kShortCutCtrl | vk);
        const std::string text = ShortCutToText(value, layout);
        EXPECT_NE(text, "") << vk;
        EXPECT_EQ(TextToShortCut(text, layout), value) << vk << " " << text;
    };
    for (unsigned vk : {VK_DIVIDE, VK_MULTIPLY, VK_SUBTRACT, VK_ADD, VK_DECIMAL, VK_OEM_MINUS,
                        VK_OEM_2, VK_SNAPSHOT, VK_NUMLOCK, VK_PAUSE})
        round_trip(vk);
    // Where the layout tells the right-hand keys from the left-hand ones by name (Windows
    // does, "Strg-Rechts"; the X layouts under Wine call both "Control").
    for (auto [left, right] : {std::pair{VK_CONTROL, VK_RCONTROL}, std::pair{VK_MENU, VK_RMENU}})
        if (layout.key_name(right) != layout.key_name(left)) round_trip(right);
    for (unsigned vk : {VK_LWIN, VK_RWIN, VK_APPS})
        if (!layout.key_name(vk).empty()) round_trip(vk);
}

}  // namespace
}  // namespace tastomat
