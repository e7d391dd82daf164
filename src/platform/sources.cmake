# Sources of src/platform: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/platform/code_page.cpp
  src/platform/keyboard_layout.cpp
  src/platform/paths.cpp
  src/platform/proxy_plan.cpp
  src/platform/utf.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/platform/win32/account_start_win.cpp
    src/platform/win32/clock_win.cpp
    src/platform/win32/code_page_win.cpp
    src/platform/win32/file_system_win.cpp
    src/platform/win32/system_folders_win.cpp
    src/platform/win32/drives_win.cpp
    src/platform/win32/executable_file_win.cpp
    src/platform/win32/winhttp_client.cpp
    src/platform/win32/keyboard_layout_win.cpp
    src/platform/win32/shell_win.cpp
    src/platform/win32/shell_link_win.cpp
    src/platform/win32/registry_win.cpp
    src/platform/win32/win32_platform.cpp
    src/platform/win32/system_library.cpp
    src/platform/win32/com_win.cpp
    src/platform/win32/delay_load_win.cpp
    src/platform/win32/dll_search_win.cpp
    src/platform/win32/working_folder_win.cpp
  )
endif()
