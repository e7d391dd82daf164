#include "components/instance_block.h"

#include <algorithm>

#include "platform/utf.h"

namespace tastomat {
namespace {

constexpr std::size_t kCountOffset = 4;
constexpr std::size_t kFirstSlotOffset = 8;
constexpr std::size_t kSlotBytes = (kInstanceParamUnits + 1) * 2;

static_assert(kFirstSlotOffset + kInstanceParamCount * kSlotBytes == kInstanceBlockSize);

void put_u32(InstanceBlock block, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t get_u32(ConstInstanceBlock block, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{block[at + i]} << (8 * i);
    return value;
}

std::size_t slot_offset(std::size_t k) { return kFirstSlotOffset + k * kSlotBytes; }

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void write_window_handle(InstanceBlock block, std::uint32_t handle) { put_u32(block, 0, handle); }

std::uint32_t read_window_handle(ConstInstanceBlock block) { return get_u32(block, 0); }

void write_parameters(InstanceBlock block, const std::vector<std::string>& params) {
    const std::size_t count = std::min(params.size(), kInstanceParamCount);
    put_u32(block, kCountOffset, static_cast<std::uint32_t>(count));
    for (std::size_t k = 0; k < count; ++k) {
        std::u16string units = utf8_to_utf16(params[k]);
        if (units.size() > kInstanceParamUnits) {
            std::size_t cut = kInstanceParamUnits;
            if (is_high_surrogate(units[cut - 1])) --cut;
            units.resize(cut);
        }
        units.push_back(u'\0');
        std::size_t at = slot_offset(k);
        for (char16_t unit : units) {
            block[at++] = static_cast<std::uint8_t>(unit & 0xFF);
            block[at++] = static_cast<std::uint8_t>(unit >> 8);
        }
    }
}

std::vector<std::string> read_parameters(ConstInstanceBlock block) {
    const auto stored = static_cast<std::int32_t>(get_u32(block, kCountOffset));
    const std::size_t count =
        stored <= 0 ? 0 : std::min(static_cast<std::size_t>(stored), kInstanceParamCount);
    std::vector<std::string> params;
    params.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::u16string units;
        for (std::size_t i = 0, at = slot_offset(k); i < kInstanceParamUnits; ++i, at += 2) {
            const auto unit = static_cast<char16_t>(block[at] | (block[at + 1] << 8));
            if (unit == u'\0') break;
            units.push_back(unit);
        }
        params.push_back(utf16_to_utf8(units));
    }
    return params;
}

}  // namespace tastomat
