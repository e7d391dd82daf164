# Sources of src/components: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/components/instance_block.cpp
  src/components/shortcut.cpp
)
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/components/fishotkey_win.cpp
    src/components/oneinstance_win.cpp
  )
endif()
