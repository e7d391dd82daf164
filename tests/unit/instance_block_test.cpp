#include "components/instance_block.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tastomat {
namespace {

using Block = std::array<std::uint8_t, kInstanceBlockSize>;

std::vector<std::string> numbered(int count) {
    std::vector<std::string> params;
    for (int i = 1; i <= count; ++i) params.push_back("p" + std::to_string(i));
    return params;
}

void set_count(Block& block, std::int32_t count) {
    const auto bits = static_cast<std::uint32_t>(count);
    for (int i = 0; i < 4; ++i) block[4 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// Slot k filled to its last byte with 'A', so no terminating 0 is anywhere in it.
void fill_slot(Block& block, std::size_t k) {
    for (std::size_t at = 8 + 602 * k; at < 8 + 602 * (k + 1); at += 2) {
        block[at] = 'A';
        block[at + 1] = 0;
    }
}

TEST(InstanceBlock, ParametersArriveAsTheFirstCopyMayReadThem) {
    const std::string long_param(350, 'x');
    // "𝄞" is one character but two UTF-16 units: a cut must not leave half of it behind.
    const std::string clef = std::string(299, 'y') + "\xF0\x9D\x84\x9E";
    struct Case {
        const char* what;
        std::vector<std::string> written;
        std::function<void(Block&)> damage;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"twelve parameters: the first ten", numbered(12), nullptr, numbered(10)},
        {"none", {}, nullptr, {}},
        {"one of 350 characters is cut to 300",
         {"kurz", long_param, "Müller"},
         nullptr,
         {"kurz", std::string(300, 'x'), "Müller"}},
        {"a cut keeps surrogate pairs whole", {clef}, nullptr, {std::string(299, 'y')}},
        {"an empty parameter keeps its place", {"", "b"}, nullptr, {"", "b"}},
        {"a count above ten is read as ten", numbered(10), [](Block& b) { set_count(b, 1000); },
         numbered(10)},
        {"a negative count is read as none", numbered(3), [](Block& b) { set_count(b, -5); }, {}},
        {"a slot without its terminating 0 is read to 300 units only",
         numbered(2),
         [](Block& b) { fill_slot(b, 0); },
         {std::string(300, 'A'), "p2"}},
        {"the last slot without its 0 stays inside the block", numbered(10),
         [](Block& b) { fill_slot(b, 9); },
         [] {
             auto p = numbered(9);
             p.emplace_back(300, 'A');
             return p;
         }()},
    };
    for (const Case& c : cases) {
        Block block{};
        write_window_handle(block, 0xFFFF1234u);
        write_parameters(block, c.written);
        if (c.damage) c.damage(block);
        EXPECT_EQ(read_parameters(block), c.expected) << c.what;
        EXPECT_EQ(read_window_handle(block), 0xFFFF1234u) << c.what;
    }
}

TEST(InstanceBlock, LayoutIsLittleEndianWithSlotsOf602Bytes) {
    Block block{};
    write_window_handle(block, 0x11223344u);
    write_parameters(block, {"a", "bc"});
    EXPECT_EQ((std::vector<int>{block[0], block[1], block[2], block[3]}),
              (std::vector<int>{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ((std::vector<int>{block[4], block[5], block[6], block[7]}),
              (std::vector<int>{2, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{block[8], block[9], block[10], block[11]}),
              (std::vector<int>{'a', 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{block[610], block[611], block[612], block[614]}),
              (std::vector<int>{'b', 0, 'c', 0}));
}

}  // namespace
}  // namespace tastomat
