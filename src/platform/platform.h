#pragma once
// Everything the core may ask of the operating system, in one bundle for wiring.
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard_layout.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "platform/system_folders.h"

namespace tastomat {

struct Platform {
    FileSystem& files;
    Drives& drives;
    Shell& shell;
    Clock& clock;
    KeyboardLayout& keyboard;
    CodePage& code_page;
    SystemFolders& folders;
    UserRegistry& registry;
    ShellLinkWriter& links;
};

}  // namespace tastomat
