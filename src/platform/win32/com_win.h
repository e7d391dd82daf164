#pragma once
// COM for the calling thread and COM interface pointers, both released on every way out.
#include <windows.h>

#include <objbase.h>

#include <utility>

namespace tastomat {

// Joins the thread to a single-threaded apartment, as the shell's objects and dialogs
// need, and leaves it again only when joining succeeded.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    // S_FALSE (the thread was already in an apartment of this kind) counts as joined.
    bool joined() const { return SUCCEEDED(result_); }
    HRESULT result() const { return result_; }

  private:
    HRESULT result_;
};

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the functions that hand out an interface through a void** argument.
    void** out() {
        if (p_) std::exchange(p_, nullptr)->Release();
        return reinterpret_cast<void**>(&p_);
    }

  private:
    T* p_ = nullptr;
};

}  // namespace tastomat
