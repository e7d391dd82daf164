/* The floor the benchmark measures Tastomat against: the least a launcher of this kind
 * can do on the platform. A hidden window with a tray icon, Alt+F12 registered as a global
 * hotkey, a small topmost badge at (0, 0) brought to the foreground on the hotkey, a letter
 * key starting the program given on the command line through the shell, Escape hiding the
 * badge again, Ctrl+B ending it. Nothing is read or written at start.
 *
 * Built a few more times with one of Tastomat's own start-up or badge costs added each
 * (bench/variants.sh), so that the gap between the two can be put down to its parts:
 *   WITH_STYLES           Tastomat's manifest (common controls 6, per-monitor DPI) and
 *                         InitCommonControlsEx
 *   WITH_SETTINGS_FOLDER  the settings folder found through the shell's item list, as the
 *                         program finds it, and the settings file read before the hotkey
 *   WITH_SHAPE            the badge's elliptic shape and its own font
 *   WITH_SHOW_STEPS       on every show the caption set and the keyboard taken a second
 *                         time, as Tastomat's badge does
 *
 *   reference_launcher.exe <program> [parameters]   (the program of every letter key)
 */
#include <windows.h>
#include <shellapi.h>
#if defined(WITH_STYLES)
#include <commctrl.h>
#endif
#if defined(WITH_SETTINGS_FOLDER)
#include <shlobj.h>
#endif

#define TRAY_CALLBACK (WM_APP + 1)
#define HOTKEY_ID 1

static const wchar_t *program = L"";
static const wchar_t *parameters = NULL;
static HWND previous_foreground;
static BOOL lit;
#if defined(WITH_SHAPE)
static HFONT badge_font;
#endif

static void show_badge(HWND hwnd) {
    HWND before = GetForegroundWindow();
    if (before && before != hwnd) previous_foreground = before;
    /* Shown first and activated second, as Tastomat does: under Wine a window mapped while
     * being activated goes to the X window manager and then never gets the keys; so does a
 * window shown again while it is active (the hotkey pressed twice). */
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNA);
    SetForegroundWindow(hwnd);
#if defined(WITH_SHOW_STEPS)
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
#endif
    SetFocus(hwnd);
#if defined(WITH_SHOW_STEPS)
    SetWindowTextW(hwnd, L"Start als User...");
#endif
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
#if defined(WITH_SHAPE)
    HGDIOBJ old_font = SelectObject(dc, badge_font);
    TextOutW(dc, 16, 16, L"Tastomat aktiv!", 15);
    SelectObject(dc, old_font);
#else
    TextOutW(dc, 16, 16, L"Tastomat aktiv!", 15);
#endif
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

#if defined(WITH_SETTINGS_FOLDER)
/* What Tastomat does before it arms the hotkey: the application data folder through the
 * shell's item list (which brings COM in for the shell's allocator) and the settings file
 * in it read whole. */
static void read_settings_file(void) {
    wchar_t path[MAX_PATH + 64];
    LPITEMIDLIST list = NULL;
    IMalloc *malloc_ = NULL;
    if (FAILED(SHGetMalloc(&malloc_))) return;
    if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, CSIDL_APPDATA, &list)) && list) {
        if (SHGetPathFromIDListW(list, path)) {
            lstrcatW(path, L"\\Kobaltix\\Tastomat\\Tastomat.ini");
            HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                char buffer[4096];
                DWORD read = 0;
                while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read) {
                }
                CloseHandle(file);
            }
        }
        malloc_->lpVtbl->Free(malloc_, list);
    }
    malloc_->lpVtbl->Release(malloc_);
}
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, PWSTR cmd, int show) {
    (void)prev;
    (void)cmd;
    (void)show;
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc > 1) program = argv[1];
    if (argv && argc > 2) parameters = argv[2];
#if defined(WITH_STYLES)
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
#endif

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
#if defined(WITH_SHAPE)
    SetWindowRgn(hwnd, CreateEllipticRgn(0, 0, 127, 45), TRUE);
    LOGFONTW lf = {0};
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"MS Sans Serif");
    badge_font = CreateFontIndirectW(&lf);
#endif

    NOTIFYICONDATAW nid = {0};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = TRAY_CALLBACK;
    nid.hIcon = LoadIconW(NULL, (LPCWSTR)IDI_APPLICATION);
    lstrcpynW(nid.szTip, L"Reference launcher", 64);
    Shell_NotifyIconW(NIM_ADD, &nid);
#if defined(WITH_SETTINGS_FOLDER)
    read_settings_file();
#endif
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
