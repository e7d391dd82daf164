# Sources of src/app: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/app/hotkey_warning.cpp
  src/app/key_dispatch.cpp
  src/app/program_start.cpp
  src/app/start_lookups.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/app/main_form_win.cpp
    src/app/quiet_start_win.cpp
    src/app/tastomat_program_win.cpp
    src/app/volume_watch_win.cpp
  )
endif()
