#include "app/key_dispatch.h"

#include "table/slots.h"

namespace tastomat {
namespace {

constexpr std::uint16_t kVkEscape = 27;
constexpr std::uint16_t kVkF1 = 112;
constexpr std::uint16_t kVkF12 = 123;

constexpr char16_t kCtrlB = 2;
constexpr char16_t kCtrlE = 5;

}  // namespace

KeyCommand KeyDispatch::Formkeydown(std::uint16_t key, ShiftState shift) {
    KeyCommand command;
    if (key >= kVkF1 && key <= kVkF12) {
        command = {KeyCommand::StartSlot, function_key_slot(key - kVkF1 + 1)};
    } else if (key == kVkEscape) {
        command = {KeyCommand::Verbergen};
    }
    Ctrl = shift.contains(ShiftState::Ctrl);
    return command;
}

KeyCommand KeyDispatch::Formkeypress(char16_t character) const {
    if (Ctrl) {
        // AltGr arrives as Ctrl+Alt, so its characters land here too and only hide.
        if (character == kCtrlB) return {KeyCommand::Quit};
        if (character == kCtrlE) return {KeyCommand::OpenSettings};
        return {KeyCommand::HideMainForm};
    }
    if (character >= u'a' && character <= u'z')
        character = static_cast<char16_t>(character & ~0x20);
    if (character >= u'0' && character <= u'9') {
        return {KeyCommand::StartSlot, digit_slot(character - u'0')};
    }
    if (character >= u'A' && character <= u'Z')
        return {KeyCommand::StartSlot, letter_slot(character)};
    return {};
}

}  // namespace tastomat
