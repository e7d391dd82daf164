// A secret's buffers are zero when they are given back, whichever way they go: an
// allocator that looks at each buffer before freeing it tells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "support/secret_text.h"

namespace tastomat {
namespace {

struct Returned {
    std::size_t allocated = 0;
    std::vector<bool> zero_when_freed;  // one per buffer given back, in that order
};

template <typename T>
struct InspectingAllocator {
    using value_type = T;
    Returned* returned = nullptr;

    InspectingAllocator() = default;
    explicit InspectingAllocator(Returned* r) : returned(r) {}
    T* allocate(std::size_t n) {
        if (returned) ++returned->allocated;
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) {
        if (returned) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(p);
            returned->zero_when_freed.push_back(
                std::all_of(bytes, bytes + n * sizeof(T), [](unsigned char b) { return b == 0; }));
        }
        std::allocator<T>().deallocate(p, n);
    }
    bool operator==(const InspectingAllocator& o) const { return returned == o.returned; }
};

using Secret = BasicSecretText<char16_t, InspectingAllocator<char16_t>>;

TEST(SecretText, EveryBufferIsZeroWhenGivenBack) {
    struct Case {
        const char* way;
        // Runs with the allocator; returns the text that is still held afterwards.
        std::function<std::u16string(const InspectingAllocator<char16_t>&)> run;
        std::size_t buffers;
        std::u16string left;
    } cases[] = {
        {"destroyed",
         [](const auto& a) {
             Secret s(u"geheim", a);
             return std::u16string(s.c_str());
         },
         1, u"geheim"},
        {"moved into a new one, both destroyed",
         [](const auto& a) {
             Secret from(u"geheim", a);
             Secret to(std::move(from));
             // What is left behind holds nothing: that is the point of the move.
             EXPECT_TRUE(from.empty());  // NOLINT(bugprone-use-after-move)
             EXPECT_EQ(std::u16string(from.c_str()), u"");
             return std::u16string(to.c_str());
         },
         1, u"geheim"},
        {"assigned over by a move",
         [](const auto& a) {
             Secret held(u"altes Passwort", a);
             Secret next(u"neu", a);
             held = std::move(next);
             return std::u16string(held.c_str());
         },
         2, u"neu"},
        {"moved onto itself",
         [](const auto& a) {
             Secret s(u"geheim", a);
             Secret& same = s;
             s = std::move(same);
             return std::u16string(s.c_str());
         },
         1, u"geheim"},
        {"filled by a writer and cut short",
         [](const auto& a) {
             Secret s = Secret::with_capacity(8, a);
             std::u16string written = u"abcdefgh";
             std::copy(written.begin(), written.end(), s.data());
             s.set_size(3);
             // The characters beyond the text are gone at once, not only at the end.
             EXPECT_TRUE(std::all_of(s.data() + 3, s.data() + 9, [](char16_t c) { return !c; }));
             return std::u16string(s.c_str(), s.size());
         },
         1, u"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        Returned returned;
        EXPECT_EQ(c.run(InspectingAllocator<char16_t>(&returned)), c.left);
        EXPECT_EQ(returned.allocated, c.buffers);
        EXPECT_EQ(returned.zero_when_freed, std::vector<bool>(c.buffers, true));
    }
}

}  // namespace
}  // namespace tastomat
