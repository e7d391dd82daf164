#pragma once
// Text that must not stay behind in memory once used: the password of the account a
// program is started under. Every buffer it owns is zeroed before it is given back, and it
// cannot be copied, so there is no second buffer to forget.
#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>

namespace tastomat {

// Zeroes size bytes so that the compiler cannot drop the writes as dead stores of memory
// about to be freed: each is a volatile write, as Windows' SecureZeroMemory makes them.
inline void wipe_memory(void* data, std::size_t size) noexcept {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (size--) *p++ = 0;
}

template <typename Char, typename Allocator = std::allocator<Char>>
class BasicSecretText {
    using Traits = std::allocator_traits<Allocator>;

  public:
    BasicSecretText() = default;
    explicit BasicSecretText(const Allocator& allocator) : allocator_(allocator) {}
    // Room for capacity characters and a terminator, all zero, for a writer that fills
    // data() and then says how much it wrote with set_size.
    static BasicSecretText with_capacity(std::size_t capacity, const Allocator& allocator = {}) {
        BasicSecretText text(allocator);
        text.data_ = Traits::allocate(text.allocator_, capacity + 1);
        text.capacity_ = capacity;
        wipe_memory(text.data_, (capacity + 1) * sizeof(Char));
        return text;
    }
    BasicSecretText(std::basic_string_view<Char> text, const Allocator& allocator = {})
        : BasicSecretText(with_capacity(text.size(), allocator)) {
        for (std::size_t i = 0; i < text.size(); ++i) data_[i] = text[i];
        size_ = text.size();
    }

    BasicSecretText(const BasicSecretText&) = delete;
    BasicSecretText& operator=(const BasicSecretText&) = delete;
    BasicSecretText(BasicSecretText&& other) noexcept
        : allocator_(other.allocator_),
          data_(std::exchange(other.data_, nullptr)),
          capacity_(std::exchange(other.capacity_, 0)),
          size_(std::exchange(other.size_, 0)) {}
    BasicSecretText& operator=(BasicSecretText&& other) noexcept {
        if (this == &other) return *this;
        release();
        allocator_ = other.allocator_;
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }
    ~BasicSecretText() { release(); }

    Char* data() { return data_; }
    // Terminated; an empty text without a buffer reads as "".
    const Char* c_str() const {
        static constexpr Char kEmpty[1] = {};
        return data_ ? data_ : kEmpty;
    }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    // After a writer filled data(): the text is its first size characters (at most the
    // capacity); whatever lies beyond is zeroed, terminator included.
    void set_size(std::size_t size) {
        size_ = size < capacity_ ? size : capacity_;
        if (data_) wipe_memory(data_ + size_, (capacity_ + 1 - size_) * sizeof(Char));
    }

  private:
    void release() noexcept {
        if (!data_) return;
        wipe_memory(data_, (capacity_ + 1) * sizeof(Char));
        Traits::deallocate(allocator_, data_, capacity_ + 1);
        data_ = nullptr;
        capacity_ = size_ = 0;
    }

    Allocator allocator_{};
    Char* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// The password on its way from the edit field to the logon call, in the system's UTF-16.
using WideSecret = BasicSecretText<wchar_t>;

}  // namespace tastomat
