#include "platform/win32/win32_platform.h"

namespace tastomat {

Win32Platform& win32_platform() {
    static Win32Platform platform;
    return platform;
}

}  // namespace tastomat
