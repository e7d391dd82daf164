# Sources of src/settings_ui: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/settings_ui/settings_file_session.cpp
  src/settings_ui/slot_editing.cpp
  src/settings_ui/drive_retargeting.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/settings_ui/laufwerksform_win.cpp
    src/settings_ui/parameterform_win.cpp
    src/settings_ui/programmliste_win.cpp
  )
endif()
