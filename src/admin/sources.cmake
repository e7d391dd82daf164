# Sources of src/admin: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/admin/run_as.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/admin/admindataform_win.cpp
  )
endif()
