#include "platform/win32/system_library.h"

namespace tastomat {

HMODULE system_library(const wchar_t* name) {
    // Loading an already loaded library only counts it once more; the count is never
    // given back, as the library is meant to stay.
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace tastomat
