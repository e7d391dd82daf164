#include "platform/win32/shell_win.h"

#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include "platform/win32/com_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

const wchar_t* or_null(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

void allow_started_program_to_the_front() {
    // The launcher has just had the key press, so it may pass the right to take the
    // foreground on. Its badge is gone by now, and the program that answers the start may be
    // one that was already running (a document opened in an open editor), whose process is
    // not known here: so any process may, until the user's next input.
    AllowSetForegroundWindow(ASFW_ANY);
}

bool WinShell::open(const std::string& file, const std::string& params, const std::string& dir) {
    const std::wstring wide_file = to_wide(file);
    const std::wstring wide_params = to_wide(params);
    const std::wstring wide_dir = to_wide(dir);
    // The shell may hand the start to an extension, which wants a single-threaded
    // apartment on the calling thread: the window's (joined for the run already) or a
    // worker's (joined for this call).
    const ScopedCom com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    allow_started_program_to_the_front();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Done when the call returns, so that a worker's apartment may go right after it. No
    // box of the system's when the file is missing: the caller reports it in its own words
    // (ShellExecute, used before, showed none either), and a box shown from a worker would
    // have no owner to sit in front of.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = wide_file.c_str();
    info.lpParameters = or_null(wide_params);
    info.lpDirectory = or_null(wide_dir);
    // An activating show command: the program's first ShowWindow takes it from its start-up
    // information, and the user types into what they just started.
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

bool WinShell::open_document(const std::string& target, int show_command) {
    const std::wstring wide_target = to_wide(target);
    join_com();
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", wide_target.c_str(), nullptr, nullptr, show_command);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace tastomat
