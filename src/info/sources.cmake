# Sources of src/info: portable files go to the core, Win32 files to the Windows layer.
# update_server.cpp is not listed: each program build brings its own (see CMakeLists.txt).
list(APPEND TASTOMAT_CORE_SOURCES
  src/info/info_texts.cpp
  src/info/http_worker.cpp
  src/info/update_check.cpp
  src/info/version.cpp
  src/info/version_file.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/info/infodialog_win.cpp
  )
endif()
