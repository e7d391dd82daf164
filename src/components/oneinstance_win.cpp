#include "components/oneinstance_win.h"

#include <shellapi.h>

#include <stdexcept>

#include "platform/paths.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/wide.h"
#include "support/scope_exit.h"

namespace tastomat {
namespace {

// Tells the first copy that parameters wait in the block (WM_USER + 300).
constexpr UINT kInstanceMessage = WM_USER + 300;
constexpr ULONGLONG kWaitMs = 10000;
// How often a later copy looks for a lock the first copy has not made yet.
constexpr DWORD kLookAgainMs = 20;

// This process's command-line parameters, without the program itself.
std::vector<std::string> command_line_parameters() {
    int count = 0;
    const ScopedLocalMem<LPWSTR> args(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> params;
    for (int i = 1; args && i < count; ++i) params.push_back(to_utf8(args.get()[i]));
    return params;
}

struct FrontSearch {
    HWND main;
    HWND found;
};

BOOL CALLBACK find_front_window(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<FrontSearch*>(lp);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) &&
        (hwnd == search->main || (style & WS_CAPTION) == WS_CAPTION)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Brings the application's front-most window forward; a hidden launcher window stays
// hidden.
void bring_application_to_front(HWND main_window) {
    FrontSearch search{main_window, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), find_front_window, reinterpret_cast<LPARAM>(&search));
    if (search.found) SetForegroundWindow(search.found);
}

}  // namespace

// A read/write view of the whole block, unmapped when it goes.
class Toneinstance::View {
  public:
    explicit View(HANDLE mapping)
        : view_(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kInstanceBlockSize)) {}
    explicit operator bool() const { return static_cast<bool>(view_); }
    InstanceBlock block() const {
        return InstanceBlock(static_cast<std::uint8_t*>(view_.get()), kInstanceBlockSize);
    }
    void reset() { view_.reset(); }

  private:
    ScopedView view_;
};

std::wstring Toneinstance::own_file_name() {
    return to_wide(file_name_part(to_utf8(module_path_w())));
}

Toneinstance::Toneinstance(HWND main_window, std::wstring name)
    : main_window_(main_window), name_(std::move(name)) {}

Toneinstance::~Toneinstance() {
    Fmappinghandle.reset();
    destroy();
    Closesemaphore();
}

InstanceRole Toneinstance::Init() {
    SetLastError(0);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kInstanceBlockSize, name_.c_str());
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    Fmappinghandle.reset(mapping);
    if (!Fmappinghandle) return InstanceRole::alone;
    View view(Fmappinghandle.get());
    if (!view) return InstanceRole::alone;
    if (existed && Notifyfirstinstance(view)) return InstanceRole::handed_over;
    if (!existed) Becomefirstinstance(view);
    return Isfirstinstance() ? InstanceRole::first : InstanceRole::alone;
}

bool Toneinstance::Locksemaphore() {
    const ULONGLONG deadline = GetTickCount64() + kWaitMs;
    const std::wstring name = name_ + L"Sem";
    while (!Hsemaphore) {
        Hsemaphore.reset(OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, name.c_str()));
        if (Hsemaphore) break;
        // The block exists but its lock does not yet: the first copy is between making
        // the one and the other. Taking over now would make a second first copy.
        if (GetLastError() != ERROR_FILE_NOT_FOUND || GetTickCount64() >= deadline) return false;
        Sleep(kLookAgainMs);
    }
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    return WaitForSingleObject(Hsemaphore.get(), left) == WAIT_OBJECT_0;
}

void Toneinstance::Unlocksemaphore() {
    if (Hsemaphore) ReleaseSemaphore(Hsemaphore.get(), 1, nullptr);
}

void Toneinstance::Closesemaphore() { Hsemaphore.reset(); }

void Toneinstance::Becomefirstinstance(View& view) {
    create_message_only(L"TastomatInstanceWindow");
    // A later copy started without elevation can still hand over to an elevated first one.
    ChangeWindowMessageFilterEx(hwnd(), kInstanceMessage, MSGFLT_ALLOW, nullptr);
    // Only after a failed hand-over: gives the lock back, whether this copy took it or a
    // copy that hung kept it.
    Unlocksemaphore();
    Closesemaphore();
    Hsemaphore.reset(CreateSemaphoreW(nullptr, 0, 1, (name_ + L"Sem").c_str()));
    if (!Hsemaphore) throw std::runtime_error("Unable to create semaphore");
    // Window handles are 32-bit significant on 64-bit Windows too.
    write_window_handle(view.block(), HandleToULong(hwnd()));
    Unlocksemaphore();
}

bool Toneinstance::Notifyfirstinstance(View& view) {
    if (!Locksemaphore()) {
        Becomefirstinstance(view);
        return false;
    }
    write_parameters(view.block(), command_line_parameters());
    const auto first =
        static_cast<HWND>(LongToHandle(static_cast<LONG>(read_window_handle(view.block()))));
    // The user started this copy, so it may hand the foreground to the first one.
    DWORD first_process = 0;
    if (GetWindowThreadProcessId(first, &first_process)) AllowSetForegroundWindow(first_process);
    PostMessageW(first, kInstanceMessage, 0, 0);
    if (!Locksemaphore()) {
        // No answer within the time: the first copy hangs or is gone.
        Becomefirstinstance(view);
        return false;
    }
    Unlocksemaphore();
    Closesemaphore();
    view.reset();
    if (Fusehalttoexit) ExitProcess(0);
    return true;
}

void Toneinstance::take_parameters() {
    if (!Fmappinghandle) return;
    std::vector<std::string> params;
    {
        View view(Fmappinghandle.get());
        if (!view) return;
        params = read_parameters(view.block());
    }
    // The later copy waits for the lock to come back; it does, also when the reaction fails.
    const ScopeExit unlock([this] { Unlocksemaphore(); });
    Doinstancestarted(params);
}

void Toneinstance::Doinstancestarted(const std::vector<std::string>& Params) {
    if (Fshowonnewinstance) bring_application_to_front(main_window_);
    if (Oninstancestarted) Oninstancestarted(*this, Params);
}

LRESULT Toneinstance::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kInstanceMessage) {
        take_parameters();
        return 0;
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat
