#pragma once
// The program's message boxes: German captions and buttons, lines separated by CR.
#include <windows.h>

#include <optional>
#include <string>

namespace tastomat::ui {

enum class MessageKind { Information, Confirmation, Error };

// Where the box's top-left corner goes, in screen pixels; centred on the owner when empty.
struct MessagePlacement {
    std::optional<POINT> top_left;
};

// Error box: caption "Fehler", error icon, one button "OK".
void show_error(HWND owner, const std::wstring& text, MessagePlacement where = {});
// Information box: caption "Informationen", one button "OK".
void show_information(HWND owner, const std::wstring& text, MessagePlacement where = {});
// Confirmation: caption "Bestätigen", buttons "&Ja" / "&Nein"; true for Ja.
bool ask_yes_no(HWND owner, const std::wstring& text, MessagePlacement where = {});

}  // namespace tastomat::ui
