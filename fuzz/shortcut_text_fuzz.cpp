// The text of a launcher hotkey as the settings file stores it, on any bytes: a text that
// names a key gives a value whose own text names the same value again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "components/shortcut.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastomat;
    test::FakeKeyboardLayout layout;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TShortCut value = TextToShortCut(text, layout);
    if (value == 0) return 0;
    const std::string named = ShortCutToText(value, layout);
    if (named.empty() || TextToShortCut(named, layout) != value) {
        std::fprintf(stderr, "0x%04X is written \"%s\" and read back as 0x%04X\n", value,
                     named.c_str(), TextToShortCut(named, layout));
        std::abort();
    }
    return 0;
}
