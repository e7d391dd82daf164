# Sources of src/ui: portable files go to the core, Win32 files to the Windows layer.
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/ui/application.cpp
    src/ui/message_box.cpp
    src/ui/popup_menu.cpp
    src/ui/tray_icon.cpp
    src/ui/window.cpp
  )
endif()
