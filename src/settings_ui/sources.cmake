# Sources of src/settings_ui: portable files go to the core, Win32 files to the Windows layer.
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/settings_ui/programmliste_win.cpp
  )
endif()
