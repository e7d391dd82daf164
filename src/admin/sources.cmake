# Sources of src/admin: portable files go to the core, Win32 files to the Windows layer.
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/admin/admindataform_win.cpp
  )
endif()
