#pragma once
// RAII owners for every Win32 resource the program holds: kernel handles, GDI objects and
// device contexts, icons and menus, WinHTTP handles, COM on the thread and COM interfaces.
// One header for the platform layer and the widget layer alike.
#include <windows.h>

#include <objbase.h>
// winhttp.h needs the types windows.h declares.
#include <winhttp.h>

#include <utility>

namespace tastomat {

template <typename H, typename Deleter>
class Scoped {
  public:
    Scoped() = default;
    explicit Scoped(H h) : h_(h) {}
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& o) noexcept : h_(std::exchange(o.h_, Deleter::invalid())) {}
    Scoped& operator=(Scoped&& o) noexcept {
        reset(std::exchange(o.h_, Deleter::invalid()));
        return *this;
    }
    ~Scoped() { reset(); }

    void reset(H h = Deleter::invalid()) {
        if (h_ != Deleter::invalid()) Deleter{}(h_);
        h_ = h;
    }
    H get() const { return h_; }
    H release() { return std::exchange(h_, Deleter::invalid()); }
    explicit operator bool() const { return h_ != Deleter::invalid(); }

  private:
    H h_ = Deleter::invalid();
};

template <typename H>
struct NullIsInvalid {
    static H invalid() { return H{}; }
};

template <typename H>
struct GdiObjectDeleter : NullIsInvalid<H> {
    void operator()(H h) const { DeleteObject(h); }
};
struct IconDeleter : NullIsInvalid<HICON> {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter : NullIsInvalid<HMENU> {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct HandleDeleter : NullIsInvalid<HANDLE> {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
// CreateFile and a few others report failure as INVALID_HANDLE_VALUE instead of null.
struct FileHandleDeleter {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { CloseHandle(h); }
};
// A directory search of FindFirstFile, closed with FindClose.
struct FindDeleter {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { FindClose(h); }
};
// Memory a call allocated with LocalAlloc for the caller (FormatMessage's buffer,
// CommandLineToArgvW's array).
template <typename P>
struct LocalMemDeleter : NullIsInvalid<P> {
    void operator()(P p) const { LocalFree(p); }
};
// Memory a call allocated with GlobalAlloc for the caller (WinHTTP's proxy strings).
template <typename P>
struct GlobalMemDeleter : NullIsInvalid<P> {
    void operator()(P p) const { GlobalFree(p); }
};
// A view of a file mapping, unmapped with UnmapViewOfFile.
struct MappedViewDeleter : NullIsInvalid<void*> {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};
struct RegistryKeyDeleter : NullIsInvalid<HKEY> {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
// A WinHTTP session, connection or request.
struct InternetHandleDeleter : NullIsInvalid<HINTERNET> {
    void operator()(HINTERNET h) const { WinHttpCloseHandle(h); }
};
// Memory the shell or COM hands over (an item id list, a string), freed with CoTaskMemFree.
template <typename P>
struct CoTaskMemDeleter : NullIsInvalid<P> {
    void operator()(P p) const { CoTaskMemFree(p); }
};

using ScopedBrush = Scoped<HBRUSH, GdiObjectDeleter<HBRUSH>>;
using ScopedFont = Scoped<HFONT, GdiObjectDeleter<HFONT>>;
using ScopedBitmap = Scoped<HBITMAP, GdiObjectDeleter<HBITMAP>>;
using ScopedIcon = Scoped<HICON, IconDeleter>;
using ScopedMenu = Scoped<HMENU, MenuDeleter>;
using ScopedHandle = Scoped<HANDLE, HandleDeleter>;
using ScopedFile = Scoped<HANDLE, FileHandleDeleter>;
using ScopedFind = Scoped<HANDLE, FindDeleter>;
using ScopedRegistryKey = Scoped<HKEY, RegistryKeyDeleter>;
using ScopedInternet = Scoped<HINTERNET, InternetHandleDeleter>;
template <typename T>
using ScopedCoTaskMem = Scoped<T*, CoTaskMemDeleter<T*>>;
template <typename T>
using ScopedLocalMem = Scoped<T*, LocalMemDeleter<T*>>;
template <typename T>
using ScopedGlobalMem = Scoped<T*, GlobalMemDeleter<T*>>;
using ScopedView = Scoped<void*, MappedViewDeleter>;

// A window's device context from GetDC, released to the same window.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context, with the previous one selected back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// COM for this thread. Uninitialised only when this object's call succeeded: a thread that
// already runs COM in another model keeps it, and the count stays balanced.
class ScopedCom {
  public:
    explicit ScopedCom(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, model)) {}
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    ~ScopedCom() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    HRESULT result() const { return result_; }
    bool ok() const { return SUCCEEDED(result_); }

  private:
    HRESULT result_;
};

// One reference to a COM interface.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        reset();
        p_ = std::exchange(o.p_, nullptr);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the creating call's out parameter; whatever was held is released first.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    T* p_ = nullptr;
};

}  // namespace tastomat
