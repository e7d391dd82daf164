/* The floor the benchmark measures Tastomat against: the least a launcher of this kind
 * can do on the platform. A hidden window with a tray icon, Alt+F12 registered as a global
 * hotkey, a small topmost badge at (0, 0) brought to the foreground on the hotkey, a letter
 * key starting the program given on the command line through the shell, Escape hiding the
 * badge again, Ctrl+B ending it. Nothing is read or written at start.
 *
 *   reference_launcher.exe <program> [parameters]   (the program of every letter key)
 */
#include <windows.h>
#include <shellapi.h>

#define TRAY_CALLBACK (WM_APP + 1)
#define HOTKEY_ID 1

static const wchar_t *program = L"";
static const wchar_t *parameters = NULL;
static HWND previous_foreground;
static BOOL lit;

static void show_badge(HWND hwnd) {
    HWND before = GetForegroundWindow();
    if (before && before != hwnd) previous_foreground = before;
    /* Shown first and activated second, as Tastomat does: under Wine a window mapped while
     * being activated goes to the X window manager and then never gets the keys; so does a
 * window shown again while it is active (the hotkey pressed twice). */
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNA);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetTimer(hwnd, 1, 200, NULL);
}

static void hide_badge(HWND hwnd) {
    KillTimer(hwnd, 1);
    /* Give up the activation before hiding; otherwise Wine leaves the hidden window active
     * and the next hotkey cannot hand the keyboard to it. */
    if (previous_foreground && IsWindow(previous_foreground) && IsWindowVisible(previous_foreground))
        SetForegroundWindow(previous_foreground);
    else
        SetActiveWindow(NULL);
    previous_foreground = NULL;
    ShowWindow(hwnd, SW_HIDE);
}

static void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(lit ? RGB(255, 0, 0) : GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, 16, 16, L"Tastomat aktiv!", 15);
    EndPaint(hwnd, &ps);
}

static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HOTKEY:
        show_badge(hwnd);
        return 0;
    case WM_CHAR:
        if ((wp >= 'a' && wp <= 'z') || (wp >= 'A' && wp <= 'Z')) {
            ShellExecuteW(NULL, L"open", program, parameters, NULL, SW_SHOWNORMAL);
            hide_badge(hwnd);
        } else if (wp == VK_ESCAPE) {
            hide_badge(hwnd);
        } else if (wp == 2) { /* Ctrl+B ends it, as it ends Tastomat */
            hide_badge(hwnd);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_TIMER:
        lit = !lit;
        InvalidateRect(hwnd, NULL, FALSE);
        return 0;
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case TRAY_CALLBACK:
        if (LOWORD(lp) == WM_RBUTTONUP) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, PWSTR cmd, int show) {
    (void)prev;
    (void)cmd;
    (void)show;
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc > 1) program = argv[1];
    if (argv && argc > 2) parameters = argv[2];

    WNDCLASSW wc = {0};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = L"ReferenceLauncher";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName,
                                L"Reference launcher", WS_POPUP, 0, 0, 127, 45, NULL, NULL,
                                instance, NULL);
    if (!hwnd) return 1;

    NOTIFYICONDATAW nid = {0};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = TRAY_CALLBACK;
    nid.hIcon = LoadIconW(NULL, (LPCWSTR)IDI_APPLICATION);
    lstrcpynW(nid.szTip, L"Reference launcher", 64);
    Shell_NotifyIconW(NIM_ADD, &nid);
    RegisterHotKey(hwnd, HOTKEY_ID, MOD_ALT | MOD_NOREPEAT, VK_F12);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    UnregisterHotKey(hwnd, HOTKEY_ID);
    Shell_NotifyIconW(NIM_DELETE, &nid);
    LocalFree(argv);
    return (int)msg.wParam;
}
