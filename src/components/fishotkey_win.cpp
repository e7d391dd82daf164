#include "components/fishotkey_win.h"

namespace tastomat {
namespace {
constexpr int kHotkeyId = 0;
}

Tfishotkey::Tfishotkey() { create_message_only(L"TastomatHotkeyWindow"); }

Tfishotkey::~Tfishotkey() { Prunregister(); }

void Tfishotkey::Loaded() {
    if (Fenabled) Prregister();
}

void Tfishotkey::SetKey(TShortCut Value) {
    // The same value again does nothing, not even a retry of a failed registration.
    if (Value == Fhotkey) return;
    Fhotkey = Value;
    Prunregister();
    if (Fenabled) Prregister();
}

void Tfishotkey::SetEnabled(bool Value) {
    Fenabled = Value;
    if (Value)
        Prregister();
    else
        Prunregister();
}

void Tfishotkey::Prregister() {
    if (Fregistered) return;
    std::uint16_t key = 0;
    ShiftState shift;
    ShortCutToKey(Fhotkey, key, shift);
    UINT modifiers = 0;
    if (shift.contains(ShiftState::Shift)) modifiers |= MOD_SHIFT;
    if (shift.contains(ShiftState::Alt)) modifiers |= MOD_ALT;
    if (shift.contains(ShiftState::Ctrl)) modifiers |= MOD_CONTROL;
    Fregistered = RegisterHotKey(hwnd(), kHotkeyId, modifiers, key & 0xFF) != FALSE;
}

void Tfishotkey::Prunregister() {
    if (!Fregistered) return;
    UnregisterHotKey(hwnd(), kHotkeyId);
    Fregistered = false;
}

LRESULT Tfishotkey::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY && Onhotkey) Onhotkey(*this);
    return default_message(msg, wp, lp);
}

}  // namespace tastomat
