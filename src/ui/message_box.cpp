#include "ui/message_box.h"

namespace tastomat::ui {
namespace {

// The system box speaks the system's language; ours always speaks German and may have
// to sit at a given place, so a CBT hook adjusts it the moment it is activated.
struct PendingBox {
    HHOOK hook = nullptr;
    MessagePlacement where;
};
thread_local PendingBox* pending = nullptr;

LRESULT CALLBACK cbt_hook(int code, WPARAM wp, LPARAM lp) {
    PendingBox* box = pending;
    if (box && code == HCBT_ACTIVATE) {
        HWND dlg = reinterpret_cast<HWND>(wp);
        SetDlgItemTextW(dlg, IDOK, L"OK");
        SetDlgItemTextW(dlg, IDYES, L"&Ja");
        SetDlgItemTextW(dlg, IDNO, L"&Nein");
        SetDlgItemTextW(dlg, IDCANCEL, L"Abbrechen");
        if (box->where.top_left) {
            SetWindowPos(dlg, nullptr, box->where.top_left->x, box->where.top_left->y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        HHOOK hook = box->hook;
        box->hook = nullptr;
        pending = nullptr;
        UnhookWindowsHookEx(hook);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

int show(HWND owner, const std::wstring& text, const wchar_t* caption, UINT type,
         const MessagePlacement& where) {
    PendingBox box{nullptr, where};
    box.hook = SetWindowsHookExW(WH_CBT, cbt_hook, nullptr, GetCurrentThreadId());
    pending = box.hook ? &box : nullptr;
    const int result = MessageBoxW(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
    if (box.hook) UnhookWindowsHookEx(box.hook);
    pending = nullptr;
    return result;
}

}  // namespace

void show_error(HWND owner, const std::wstring& text, MessagePlacement where) {
    show(owner, text, L"Fehler", MB_OK | MB_ICONERROR, where);
}

void show_information(HWND owner, const std::wstring& text, MessagePlacement where) {
    show(owner, text, L"Informationen", MB_OK | MB_ICONINFORMATION, where);
}

bool ask_yes_no(HWND owner, const std::wstring& text, MessagePlacement where) {
    return show(owner, text, L"Bestätigen", MB_YESNO | MB_ICONQUESTION, where) == IDYES;
}

}  // namespace tastomat::ui
