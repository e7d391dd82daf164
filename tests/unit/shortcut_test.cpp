#include "components/shortcut.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr TShortCut kAltF12 = kShortCutAlt + 123;

class ShortCutTextTest : public ::testing::Test {
  protected:
    std::string text(TShortCut value) { return ShortCutToText(value, layout); }
    TShortCut value(std::string_view text) { return TextToShortCut(text, layout); }

    test::FakeKeyboardLayout layout;
};

TEST_F(ShortCutTextTest, ModifiersAreWrittenShiftCtrlAltWhateverOrderTheyWereTyped) {
    EXPECT_EQ(text(kAltF12), "Alt+F12");
    EXPECT_EQ(text(value("Alt+Strg+L")), "Strg+Alt+L");
    EXPECT_EQ(text(value("alt+strg+umsch+f5")), "Umsch+Strg+Alt+F5");
    EXPECT_EQ(text(kShortCutShift + 116), "Umsch+F5");
}

TEST_F(ShortCutTextTest, PrefixesAndNamesIgnoreLetterCase) {
    EXPECT_EQ(value("Alt+F12"), kAltF12);
    EXPECT_EQ(value("alt+f12"), kAltF12);
    EXPECT_EQ(value("ALT+F12"), kAltF12);
    EXPECT_EQ(value("UMSCH+bildauf"), kShortCutShift + 33);
    EXPECT_EQ(value("Strg+RÜCK"), kShortCutCtrl + 8);
    EXPECT_EQ(value("rück"), 8);
}

TEST_F(ShortCutTextTest, CaretStandsForCtrlAndPrefixesMayRepeat) {
    EXPECT_EQ(value("^A"), kShortCutCtrl + 'A');
    EXPECT_EQ(text(value("^A")), "Strg+A");
    EXPECT_EQ(value("Alt+Alt+^Strg+x"), kShortCutAlt + kShortCutCtrl + 'X');
}

TEST_F(ShortCutTextTest, TextWithoutAKnownKeyGivesZero) {
    EXPECT_EQ(value(""), 0);
    EXPECT_EQ(value("Alt+"), 0);
    EXPECT_EQ(value("Umsch+Strg+"), 0);
    EXPECT_EQ(value("Alt+Xyz"), 0);
    EXPECT_EQ(value("Alt+F25"), 0);
    EXPECT_EQ(value(" Alt+F12"), 0);
}

TEST_F(ShortCutTextTest, KeysOutsideTheTableAreNamedByTheLayout) {
    EXPECT_EQ(text(kShortCutShift + 186), "Umsch+Ü");
    EXPECT_EQ(value("Umsch+ü"), kShortCutShift + 186);
    EXPECT_EQ(value("Strg+-"), kShortCutCtrl + 189);
    // Without its "+" the modifier's name is the modifier key itself.
    EXPECT_EQ(value("Strg"), 17);
    EXPECT_EQ(value("num-taste"), 144);
}

TEST_F(ShortCutTextTest, KeyWithoutANameGivesAnEmptyTextEvenWithModifiers) {
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(kShortCutCtrl + kShortCutAlt + 255), "");
    layout.names.clear();
    EXPECT_EQ(text(kShortCutAlt + 186), "");
    EXPECT_EQ(text(kShortCutAlt + 'Q'), "Alt+Q");
}

TEST_F(ShortCutTextTest, OnlyTheLowByteNamesTheKey) {
    EXPECT_EQ(text(0x100 + 'A'), "A");
    EXPECT_EQ(text(kShortCutAlt + 0x1000 + 123), "Alt+F12");
}

TEST_F(ShortCutTextTest, KeypadDigitsShareTheDigitNamesAndReadBackAsDigitRow) {
    EXPECT_EQ(text(kShortCutCtrl + 101), "Strg+5");
    EXPECT_EQ(value("Strg+5"), kShortCutCtrl + '5');
}

TEST_F(ShortCutTextTest, EveryNamedKeyWithEveryModifierComboSurvivesTheRoundTrip) {
    std::vector<int> codes{8, 9, 13, 27, 32, 33, 34, 35, 36, 37, 38, 39, 40, 45, 46};
    for (int c = '0'; c <= '9'; ++c) codes.push_back(c);
    for (int c = 'A'; c <= 'Z'; ++c) codes.push_back(c);
    for (int c = 112; c <= 135; ++c) codes.push_back(c);
    for (const auto& [code, name] : layout.names) codes.push_back(static_cast<int>(code));
    for (int code : codes) {
        for (int mods = 0; mods < 8; ++mods) {
            const auto v = static_cast<TShortCut>(code | (mods << 13));
            EXPECT_EQ(value(text(v)), v) << text(v);
        }
    }
}

// The keys the layout names keep their code through the text and back, the keypad's keys
// and the other keys of the extended set among them; before, the keypad's "/" was named
// after the "-" key, and "Strg+-" then armed the wrong key.
TEST(LayoutKeyNameTest, KeypadAndExtendedKeysKeepTheirCodeThroughTheText) {
    test::FakePcKeyboard keyboard;
    const struct {
        unsigned code;
        const char* text;
    } cases[] = {
        {0x6F, "Strg+Num /"},          {0x6A, "Strg+Num *"},     {0x6D, "Strg+Num -"},
        {0x6B, "Strg+Num +"},          {0x6E, "Strg+Num ,"},     {0xBD, "Strg+-"},
        {0x2C, "Strg+Druck"},          {0x90, "Strg+Num-Taste"}, {0x13, "Strg+Pause"},
        {0xA3, "Strg+Strg-Rechts"},    {0xA5, "Strg+Alt Gr"},    {0x5B, "Strg+Linke Windows"},
        {0x5C, "Strg+Rechte Windows"}, {0x5D, "Strg+Anwendung"}, {0x6C, ""},
    };
    for (const auto& c : cases) {
        const auto value = static_cast<TShortCut>(kShortCutCtrl | c.code);
        EXPECT_EQ(ShortCutToText(value, keyboard), c.text) << c.code;
        if (*c.text) {
            EXPECT_EQ(TextToShortCut(c.text, keyboard), value) << c.text;
        }
    }
}

TEST(ShortCutValueTest, ModifiersBecomeBitsAndMouseButtonsAreIgnored) {
    EXPECT_EQ(ShortCut(123, ShiftState::Alt), kAltF12);
    EXPECT_EQ(ShortCut('L', ShiftState::Ctrl | ShiftState::Alt | ShiftState::Left), 0xC04C);
    EXPECT_EQ(ShortCut('L', ShiftState::Shift | ShiftState::Double), 0x204C);
    EXPECT_EQ(ShortCut(255, ShiftState()), 255);
}

TEST(ShortCutValueTest, KeyCodeAbove255GivesZero) {
    EXPECT_EQ(ShortCut(256, ShiftState()), 0);
    EXPECT_EQ(ShortCut(0x1FF, ShiftState::Alt), 0);
}

TEST(ShortCutValueTest, SplitGivesKeyAndModifiersBack) {
    std::uint16_t key = 0;
    ShiftState shift;
    ShortCutToKey(kShortCutShift + kShortCutAlt + 0x123, key, shift);
    EXPECT_EQ(key, 0x123);
    EXPECT_EQ(shift, ShiftState::Shift | ShiftState::Alt);
    ShortCutToKey(65, key, shift);
    EXPECT_EQ(key, 65);
    EXPECT_TRUE(shift.empty());
}

TEST(HotkeyFieldTest, KeysThatTypeOrLeaveTheWindowAreNotTakenWithoutCtrlOrAlt) {
    struct Case {
        std::uint16_t key;
        ShiftState shift;
        bool taken;
    };
    const ShiftState none;
    const std::vector<Case> cases = {
        {'K', none, false},
        {'K', ShiftState::Shift, false},
        {'7', none, false},
        {32, none, false},  // space bar
        {27, none, false},
        {27, ShiftState::Shift, false},  // Escape
        {8, none, false},
        {0x61, none, false},  // Backspace, numpad 1
        {189, none, false},
        {192, ShiftState::Shift, false},  // "-", "ö"
        {'K', ShiftState::Ctrl, true},
        {'K', ShiftState::Ctrl | ShiftState::Alt, true},
        {32, ShiftState::Alt, true},
        {27, ShiftState::Ctrl, true},
        {189, ShiftState::Alt, true},
        {123, none, true},  // F12 alone
        {18, ShiftState::Alt, true},
        {16, ShiftState::Shift, true},  // modifiers alone
        {45, none, true},
        {36, ShiftState::Shift, true},  // Einfg, Pos1
    };
    test::FakeKeyboardLayout layout;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(takes_as_hotkey(c.key, c.shift, layout), c.taken);
    }
}

}  // namespace
}  // namespace tastomat
