// Reads what the X side cannot see of the windows and processes of any program, for the
// end-to-end scenarios. One line per record in UTF-8, fields separated by TAB; in every text a
// backslash, TAB, CR and LF are written as \\, \t, \r and \n, so a record stays one line.
//   window_probe window <title>   the visible top-level window with that title, then its
//                                 child windows in creation order
//   window_probe top <class>      the visible top-level windows of that class
//   window_probe stack            every visible top-level window, topmost first
// Each window is: left top right bottom (screen) style ex-style (hex) control-id class text.
//   window_probe list <title>     the lines of the list box in the window with that title
//   window_probe items <title>    the items of the list view in the window with that title,
//                                 in item order: text and image index
//   window_probe menu             the items of the open popup menu: left top right bottom
//                                 (screen) text; read inside the menu's process by
//                                 window_probe_hook.dll, which must sit beside the probe
//   window_probe clipboard <text> puts the text on the clipboard (for what a keyboard
//                                 layout cannot type)
//   window_probe folder <file>    the current directory of every running process whose
//                                 program file has that name (for example Tastomat.exe),
//                                 read from the process's own parameter block
// Exit code 1 when nothing matched, 2 for a wrong call.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace {

struct LibraryDeleter : tastomat::NullIsInvalid<HMODULE> {
    void operator()(HMODULE library) const { FreeLibrary(library); }
};
struct HookDeleter : tastomat::NullIsInvalid<HHOOK> {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

// A window of another process may hang; the probe must not hang with it.
bool send(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &answer)) return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

// The system carries WM_GETTEXT across processes (a tooltip answers with the tip it shows).
std::wstring text_of(HWND window) {
    LRESULT length = 0;
    if (!send(window, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied))
        return {};
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return text;
}

std::string escaped(const std::wstring& text) {
    constexpr std::string_view special = "\\\t\r\n";
    constexpr std::string_view letter = "\\trn";
    std::string out;
    for (const char c : tastomat::to_utf8(text)) {
        const size_t i = special.find(c);
        if (i == std::string_view::npos) {
            out += c;
        } else {
            out += '\\';
            out += letter[i];
        }
    }
    return out;
}

void print_record(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

std::string hex(LONG_PTR value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(value));
    return text;
}

void print_window(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    wchar_t class_name[256] = {};
    GetClassNameW(window, class_name, 256);
    print_record({std::to_string(r.left), std::to_string(r.top), std::to_string(r.right),
                  std::to_string(r.bottom), hex(GetWindowLongPtrW(window, GWL_STYLE)),
                  hex(GetWindowLongPtrW(window, GWL_EXSTYLE)), std::to_string(GetDlgCtrlID(window)),
                  escaped(class_name), escaped(text_of(window))});
}

HWND visible_window(const wchar_t* window_class, const wchar_t* title) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, window_class, title)) != nullptr) {
        if (IsWindowVisible(w)) return w;
    }
    return nullptr;
}

int print_all(const std::vector<HWND>& windows) {
    for (HWND w : windows) print_window(w);
    return windows.empty() ? 1 : 0;
}

BOOL CALLBACK collect(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

int window_and_children(const wchar_t* title) {
    HWND window = visible_window(nullptr, title);
    if (!window) return 1;
    std::vector<HWND> found{window};
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&found));
    return print_all(found);
}

int top_level_of_class(const wchar_t* window_class) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, window_class, nullptr)) != nullptr;) {
        if (IsWindowVisible(w)) found.push_back(w);
    }
    return print_all(found);
}

// EnumWindows hands the windows over from the top of the stacking order down (Windows and
// Wine do, though the documentation does not promise it); without a window manager there
// is nothing else to ask under Wine.
int stack() {
    std::vector<HWND> all;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> found;
    for (HWND w : all) {
        if (IsWindowVisible(w)) found.push_back(w);
    }
    return print_all(found);
}

int list_lines(const wchar_t* title) {
    HWND window = visible_window(nullptr, title);
    HWND list = window ? FindWindowExW(window, nullptr, L"ListBox", nullptr) : nullptr;
    LRESULT count = 0;
    if (!list || !send(list, LB_GETCOUNT, 0, 0, count)) return 1;
    for (LRESULT i = 0; i < count; ++i) {
        const auto index = static_cast<WPARAM>(i);
        LRESULT length = 0;
        if (!send(list, LB_GETTEXTLEN, index, 0, length) || length < 0) return 1;
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        LRESULT got = 0;
        if (!send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()), got) || got < 0)
            return 1;
        line.resize(static_cast<size_t>(got));
        print_record({escaped(line)});
    }
    return 0;
}

// Memory lent in another process, for a message whose pointer must mean something there.
class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, size_t bytes)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    char* get() const { return static_cast<char*>(address_); }

  private:
    HANDLE process_;
    void* address_;
};

int list_view_items(const wchar_t* title) {
    HWND window = visible_window(nullptr, title);
    HWND view = window ? FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    LRESULT count = 0;
    if (!view || !send(view, LVM_GETITEMCOUNT, 0, 0, count)) return 1;
    DWORD process_id = 0;
    GetWindowThreadProcessId(view, &process_id);
    const tastomat::ScopedHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id));
    if (!process) return 1;
    constexpr int kChars = MAX_PATH;
    const RemoteMemory remote(process.get(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote.get()) return 1;
    for (LRESULT i = 0; i < count; ++i) {
        // The text is copied into the buffer; the image comes back in the item itself.
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = reinterpret_cast<wchar_t*>(remote.get() + sizeof(LVITEMW));
        item.cchTextMax = kChars;
        LRESULT length = 0, got = 0;
        if (!WriteProcessMemory(process.get(), remote.get(), &item, sizeof item, nullptr) ||
            !send(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                  reinterpret_cast<LPARAM>(remote.get()), length) ||
            length < 0 || length >= kChars ||
            !send(view, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.get()), got) || !got)
            return 1;
        LVITEMW answer{};
        std::wstring text(static_cast<size_t>(length), L'\0');
        if (!ReadProcessMemory(process.get(), remote.get(), &answer, sizeof answer, nullptr) ||
            (length > 0 && !ReadProcessMemory(process.get(), item.pszText, text.data(),
                                              text.size() * sizeof(wchar_t), nullptr)))
            return 1;
        print_record({escaped(text), std::to_string(answer.iImage)});
    }
    return 0;
}

using Library = tastomat::Scoped<HMODULE, LibraryDeleter>;
using Hook = tastomat::Scoped<HHOOK, HookDeleter>;

constexpr const wchar_t* kMenuMapping = L"TastomatE2EWindowProbeMenu";
constexpr size_t kMenuMappingChars = 8192;

std::wstring hook_library_path() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"window_probe_hook.dll";
}

// Runs the hook once inside the menu's thread, which writes the items into shared.
bool read_through_hook(HWND menu_window) {
    const Library library(LoadLibraryW(hook_library_path().c_str()));
    if (!library) return false;
    auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "window_probe_hook")));
    if (!proc) return false;
    const DWORD thread = GetWindowThreadProcessId(menu_window, nullptr);
    const Hook hook(SetWindowsHookExW(WH_CALLWNDPROC, proc, library.get(), thread));
    if (!hook) return false;
    LRESULT ignored = 0;
    return send(menu_window, RegisterWindowMessageW(kMenuMapping), 0, 0, ignored);
}

int menu_items() {
    HWND menu_window = visible_window(L"#32768", nullptr);
    if (!menu_window) return 1;
    const tastomat::ScopedHandle mapping(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                           kMenuMappingChars * sizeof(wchar_t), kMenuMapping));
    const tastomat::ScopedView view(
        mapping ? MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr);
    if (!view) return 2;
    auto* shared = static_cast<wchar_t*>(view.get());
    shared[0] = L'\0';
    if (!read_through_hook(menu_window)) return 2;
    const std::wstring items(shared, wcsnlen(shared, kMenuMappingChars));
    if (items.empty() || items == L"\x1") return 2;  // no menu behind the window
    size_t start = 0;
    for (size_t end; (end = items.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        const std::wstring line = items.substr(start, end - start);
        const size_t tab = line.find(L'\t');
        long left = 0, top = 0, right = 0, bottom = 0;
        if (tab == std::wstring::npos ||
            swscanf(line.c_str(), L"%ld %ld %ld %ld", &left, &top, &right, &bottom) != 4)
            return 2;
        print_record({std::to_string(left), std::to_string(top), std::to_string(right),
                      std::to_string(bottom), escaped(line.substr(tab + 1))});
    }
    return 0;
}

int put_on_clipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return 1;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return 1;
    }
    EmptyClipboard();
    // From here on the clipboard owns the memory.
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
    CloseClipboard();
    return ok ? 0 : 1;
}

// Where the 64-bit process parameters keep the current directory's path (a UNICODE_STRING
// after the flags, the console fields and the three standard handles), and where the
// process environment block keeps the parameters.
constexpr SIZE_T kParametersInPeb = 0x20;
constexpr SIZE_T kCurrentDirectoryInParameters = 0x38;

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename T>
bool read_remote(HANDLE process, const void* at, T& value) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, at, &value, sizeof value, &got) && got == sizeof value;
}

std::wstring current_directory_of(DWORD pid, QueryProcess query) {
    const tastomat::ScopedHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return {};
    PROCESS_BASIC_INFORMATION basic{};
    const char* peb = nullptr;
    const char* parameters = nullptr;
    UNICODE_STRING path{};
    if (query(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !(peb = reinterpret_cast<const char*>(basic.PebBaseAddress)) ||
        !read_remote(process.get(), peb + kParametersInPeb, parameters) || !parameters ||
        !read_remote(process.get(), parameters + kCurrentDirectoryInParameters, path) ||
        !path.Buffer)
        return {};
    std::wstring folder(path.Length / sizeof(wchar_t), L'\0');
    SIZE_T got = 0;
    if (!ReadProcessMemory(process.get(), path.Buffer, folder.data(), path.Length, &got) ||
        got != path.Length)
        return {};
    return folder;
}

int current_folders(const wchar_t* program_file) {
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return 2;
    // Failure is INVALID_HANDLE_VALUE, as with CreateFile.
    const tastomat::ScopedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 2;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, program_file) != 0) continue;
        print_record({escaped(current_directory_of(entry.th32ProcessID, query))});
        ++found;
    }
    return found ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc >= 2 ? argv[1] : L"";
    if (argc == 2 && command == L"stack") return stack();
    if (argc == 3 && command == L"window") return window_and_children(argv[2]);
    if (argc == 3 && command == L"top") return top_level_of_class(argv[2]);
    if (argc == 3 && command == L"list") return list_lines(argv[2]);
    if (argc == 3 && command == L"items") return list_view_items(argv[2]);
    if (argc == 2 && command == L"menu") return menu_items();
    if (argc == 3 && command == L"clipboard") return put_on_clipboard(argv[2]);
    if (argc == 3 && command == L"folder") return current_folders(argv[2]);
    std::fprintf(stderr,
                 "usage: window_probe window <title> | top <class> | stack | list <title> | "
                 "items <title> | menu | clipboard <text> | folder <file>\n");
    return 2;
}
