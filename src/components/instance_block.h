#pragma once
// The block through which a later start of the program hands its command-line parameters
// to the copy that is already running. Little-endian, 6028 bytes:
//   offset 0, 4 bytes     the running copy's message window, as a 32-bit handle value
//   offset 4, 4 bytes     number of parameters, signed, 0 to 10
//   offset 8, 10 x 602    one slot per parameter: up to 300 UTF-16 code units, then a 0
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tastomat {

inline constexpr std::size_t kInstanceBlockSize = 6028;
inline constexpr std::size_t kInstanceParamCount = 10;
inline constexpr std::size_t kInstanceParamUnits = 300;

using InstanceBlock = std::span<std::uint8_t, kInstanceBlockSize>;
using ConstInstanceBlock = std::span<const std::uint8_t, kInstanceBlockSize>;

void write_window_handle(InstanceBlock block, std::uint32_t handle);
std::uint32_t read_window_handle(ConstInstanceBlock block);

// The first ten parameters, each cut to 300 code units (one fewer where the cut would
// split a surrogate pair).
void write_parameters(InstanceBlock block, const std::vector<std::string>& params);

// Any process may write the block, so nothing in it is trusted: the count is clamped to
// 0..10 and a slot is read up to its terminating 0 or its 300th unit, whichever comes first.
std::vector<std::string> read_parameters(ConstInstanceBlock block);

}  // namespace tastomat
