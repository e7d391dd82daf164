#include "app/key_dispatch.h"

#include <gtest/gtest.h>

namespace tastomat {
namespace {

KeyCommand start(int slot) { return {KeyCommand::StartSlot, slot}; }

// A typed character as the window sees it: the key-down first, then the character.
KeyCommand type(KeyDispatch& keys, std::uint16_t vk, ShiftState shift, char16_t character) {
    EXPECT_EQ(keys.Formkeydown(vk, shift), KeyCommand{});
    return keys.Formkeypress(character);
}

TEST(KeyDispatchTest, LettersInEitherCaseAndDigitsStartTheirSlots) {
    KeyDispatch keys;
    EXPECT_EQ(type(keys, 'E', {}, u'e'), start(4));
    EXPECT_EQ(type(keys, 'E', ShiftState::Shift, u'E'), start(4));
    EXPECT_EQ(type(keys, 'A', {}, u'a'), start(0));
    EXPECT_EQ(type(keys, 'Z', {}, u'z'), start(25));
    EXPECT_EQ(type(keys, '0', {}, u'0'), start(26));
    EXPECT_EQ(type(keys, '9', {}, u'9'), start(35));
    // The keypad types the same digits.
    EXPECT_EQ(type(keys, 101, {}, u'5'), start(31));
}

TEST(KeyDispatchTest, FunctionKeysStartOnKeyDownWhateverModifiersAreHeld) {
    KeyDispatch keys;
    EXPECT_EQ(keys.Formkeydown(112, {}), start(36));
    EXPECT_EQ(keys.Formkeydown(123, {}), start(47));
    EXPECT_EQ(keys.Formkeydown(114, ShiftState::Shift), start(38));
    EXPECT_EQ(keys.Formkeydown(114, ShiftState::Ctrl), start(38));
    EXPECT_EQ(keys.Formkeydown(114, ShiftState::Alt), start(38));
    EXPECT_EQ(keys.Formkeydown(124, {}), KeyCommand{});  // F13 has no slot
}

TEST(KeyDispatchTest, OtherCharactersDoNothing) {
    KeyDispatch keys;
    for (char16_t c : {u'ä', u'ß', u'-', u' ', u'@', u'`', u'{', u'Ä', u'\r'}) {
        EXPECT_EQ(type(keys, 0, {}, c), KeyCommand{}) << int(c);
    }
    EXPECT_EQ(keys.Formkeydown(13, {}), KeyCommand{});
}

TEST(KeyDispatchTest, EscapeHidesTheWindow) {
    KeyDispatch keys;
    EXPECT_EQ(keys.Formkeydown(27, {}), KeyCommand{KeyCommand::Verbergen});
}

TEST(KeyDispatchTest, CharactersTypedWithCtrlAreWindowCommandsAndNeverStart) {
    KeyDispatch keys;
    keys.Formkeydown('B', ShiftState::Ctrl);
    EXPECT_EQ(keys.Formkeypress(2), KeyCommand{KeyCommand::Quit});
    keys.Formkeydown('E', ShiftState::Ctrl);
    EXPECT_EQ(keys.Formkeypress(5), KeyCommand{KeyCommand::OpenSettings});
    keys.Formkeydown('A', ShiftState::Ctrl);
    EXPECT_EQ(keys.Formkeypress(1), KeyCommand{KeyCommand::HideMainForm});
    // AltGr+Q types "@" with Ctrl and Alt held.
    keys.Formkeydown('Q', ShiftState::Ctrl | ShiftState::Alt);
    EXPECT_EQ(keys.Formkeypress(u'@'), KeyCommand{KeyCommand::HideMainForm});
    keys.Formkeydown('7', ShiftState::Ctrl | ShiftState::Alt);
    EXPECT_EQ(keys.Formkeypress(u'{'), KeyCommand{KeyCommand::HideMainForm});
}

TEST(KeyDispatchTest, CtrlIsWhatTheLastKeyDownSaw) {
    KeyDispatch keys;
    keys.Formkeydown(17, ShiftState::Ctrl);
    EXPECT_TRUE(keys.Ctrl);
    // Ctrl released (no key-up handling): the next key-down decides.
    keys.Formkeydown('E', {});
    EXPECT_EQ(keys.Formkeypress(u'e'), start(4));
    // A function key pressed with Ctrl also arms it for the following character.
    keys.Formkeydown(114, ShiftState::Ctrl);
    EXPECT_EQ(keys.Formkeypress(u'x'), KeyCommand{KeyCommand::HideMainForm});
}

}  // namespace
}  // namespace tastomat
