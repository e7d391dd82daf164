#include "platform/win32/com_win.h"

#include "platform/win32/scoped.h"

namespace tastomat {

void join_com() {
    // Single-threaded apartment: the folder browser's dialog style and shell extensions
    // ask for it. Left when the process ends.
    static const ScopedCom com;
}

}  // namespace tastomat
