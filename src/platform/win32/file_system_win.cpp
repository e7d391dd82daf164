#include "platform/win32/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

FileError file_error(const char* what, const std::string& path, DWORD error) {
    return FileError(std::string(what) + " \"" + path + "\". " + system_message(error));
}

// While another program has the file open without sharing it, opening it fails with a
// sharing violation; renaming over it also with access denied when that program did not
// allow deletion. Such a holder lets go within moments, so these errors are tried again
// for a while. `attempt` returns 0 or the error code.
template <typename Attempt>
DWORD wait_out_holder(const HeldFileWait& wait, bool renaming, Attempt attempt) {
    DWORD error = attempt();
    const auto held = [renaming](DWORD e) {
        return e == ERROR_SHARING_VIOLATION || (renaming && e == ERROR_ACCESS_DENIED);
    };
    for (unsigned waited = 0; held(error) && waited < wait.total_ms; waited += wait.step_ms) {
        Sleep(wait.step_ms);
        error = attempt();
    }
    return error;
}

}  // namespace

bool is_existing_directory(const std::wstring& path) {
    std::wstring p = path;
    if (p.size() == 2 && p[1] == L':') p += L'\\';  // "E:" names the drive's root here
    const DWORD a = GetFileAttributesW(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!(a & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    // A link counts only when what it points to is a folder that is there.
    const ScopedFile h(CreateFileW(p.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return h && GetFileInformationByHandle(h.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool create_folder_chain(const std::wstring& path) {
    if (path.empty()) return false;
    if (is_existing_directory(path)) return true;
    size_t sep = path.find_last_of(L"\\/");
    while (sep != std::wstring::npos && sep > 0 && is_separator(path[sep - 1])) --sep;
    if (sep != std::wstring::npos && sep > 0) create_folder_chain(path.substr(0, sep));
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && is_existing_directory(path);
}

std::wstring temp_name(const std::wstring& target, unsigned n) {
    return target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount() + n) + L".tmp";
}

// A save cut short (the power gone, the process ended from outside) leaves its temporary
// file behind; the next save takes such leftovers away. A writer still at work holds its
// file open without sharing, so the system refuses to delete that one.
void remove_leftover_temp_files(const std::wstring& target) {
    const std::wstring folder = target.substr(0, target.find_last_of(L"\\/") + 1);
    WIN32_FIND_DATAW found;
    const ScopedFind search(FindFirstFileW((target + L".~*.tmp").c_str(), &found));
    if (!search) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search.get(), &found));
}

// A new file beside the target that is removed again unless it was renamed over the target.
class TempFile {
  public:
    explicit TempFile(const std::wstring& target) {
        DWORD error = ERROR_FILE_EXISTS;
        for (unsigned n = 0; n < 100 && error == ERROR_FILE_EXISTS; ++n) {
            path_ = temp_name(target, n);
            handle_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (handle_) return;
            error = GetLastError();
        }
        error_ = error;
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        close();
        if (!kept_ && error_ == 0) DeleteFileW(path_.c_str());
    }

    DWORD open_error() const { return error_; }
    HANDLE handle() const { return handle_.get(); }
    const std::wstring& path() const { return path_; }
    void close() { handle_.reset(); }
    void keep() { kept_ = true; }

  private:
    std::wstring path_;
    ScopedFile handle_;
    DWORD error_ = 0;
    bool kept_ = false;
};

// Writes everything and forces it to the disk; the error code or 0.
DWORD write_all(HANDLE h, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return FlushFileBuffers(h) ? 0 : GetLastError();
}

}  // namespace

std::string system_message(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const ScopedLocalMem<wchar_t> owned(buffer);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "Error " + std::to_string(error) + ".";
    return to_utf8(text);
}

void throw_last_error(const std::string& call) {
    const DWORD error = GetLastError();
    throw std::runtime_error(call + " failed: " + system_message(error) + " (error " +
                             std::to_string(error) + ")");
}

std::optional<std::string> WinFileSystem::read_file(const std::string& path) {
    const std::wstring wpath = to_wide(path);
    ScopedFile h;
    const DWORD error = wait_out_holder(wait_, false, [&] {
        h.reset(CreateFileW(wpath.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return h ? DWORD{0} : GetLastError();
    });
    if (!h) {
        if (!file_exists(path)) return std::nullopt;
        throw file_error("Cannot open file", path, error);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size)) throw file_error("Cannot read file", path, GetLastError());
    std::string content;
    content.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr))
            throw file_error("Cannot read file", path, GetLastError());
        if (got == 0) break;
        content.append(buffer, got);
    }
    return content;
}

void WinFileSystem::replace_file(const std::string& path, const std::string& bytes) {
    const std::wstring target = to_wide(path);
    // A rename would replace a write-protected file on some systems; it must stay as it is.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw file_error("Cannot create file", path, ERROR_ACCESS_DENIED);
    TempFile temp(target);
    if (temp.open_error()) throw file_error("Cannot create file", path, temp.open_error());
    if (const DWORD error = write_all(temp.handle(), bytes))
        throw file_error("Cannot write file", path, error);
    temp.close();
    const DWORD error = wait_out_holder(wait_, true, [&] {
        return MoveFileExW(temp.path().c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? DWORD{0}
                   : GetLastError();
    });
    if (error) throw file_error("Cannot create file", path, error);
    temp.keep();
    remove_leftover_temp_files(target);
}

bool is_existing_file(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinFileSystem::file_exists(const std::string& path) { return is_existing_file(to_wide(path)); }

bool WinFileSystem::directory_exists(const std::string& path) {
    return is_existing_directory(to_wide(path));
}

bool WinFileSystem::create_directories(const std::string& path) {
    std::wstring w = to_wide(path);
    while (w.size() > 1 && is_separator(w.back())) w.pop_back();
    return create_folder_chain(w);
}

bool WinFileSystem::copy_file(const std::string& from, const std::string& to) {
    return CopyFileW(to_wide(from).c_str(), to_wide(to).c_str(), FALSE) != 0;
}

}  // namespace tastomat
