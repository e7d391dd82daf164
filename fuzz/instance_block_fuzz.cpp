// The hand-over block on any bytes, as another process may have written it: the reader
// stays inside the block, gives at most ten parameters of at most 300 code units each, and
// what it read, written into a fresh block, reads back unchanged - so a second hand-over
// of the same parameters could not turn them into something else.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "components/instance_block.h"
#include "platform/utf.h"

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastomat;
    // Inputs shorter than the block leave the rest zero, as a freshly mapped view is.
    std::array<std::uint8_t, kInstanceBlockSize> block{};
    std::memcpy(block.data(), data, std::min(size, block.size()));

    const std::vector<std::string> params = read_parameters(block);
    require(params.size() <= kInstanceParamCount, "more than ten parameters");
    for (const std::string& param : params)
        require(utf8_to_utf16(param).size() <= kInstanceParamUnits, "a parameter too long");

    std::array<std::uint8_t, kInstanceBlockSize> again{};
    write_window_handle(again, read_window_handle(block));
    write_parameters(again, params);
    require(read_window_handle(again) == read_window_handle(block), "the handle changed");
    require(read_parameters(again) == params, "the parameters changed on the way");
    return 0;
}
