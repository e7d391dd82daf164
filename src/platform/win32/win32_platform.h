#pragma once
// The real operating system behind the core's interfaces, one instance per process.
#include "platform/platform.h"
#include "platform/win32/clock_win.h"
#include "platform/win32/code_page_win.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/keyboard_layout_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/shell_link_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/system_folders_win.h"

namespace tastomat {

struct Win32Platform {
    WinFileSystem files;
    WinDrives drives;
    WinShell shell;
    WinClock clock;
    WinKeyboardLayout keyboard;
    WinCodePage code_page;
    WinSystemFolders folders;
    WinUserRegistry registry;
    WinShellLinkWriter links;
    Platform platform{files, drives, shell, clock, keyboard, code_page, folders, registry, links};
};

Win32Platform& win32_platform();

}  // namespace tastomat
