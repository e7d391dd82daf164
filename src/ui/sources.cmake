# Sources of src/ui: portable files go to the core, Win32 files to the Windows layer.
if(WIN32)
  list(APPEND TASTOMAT_WIN_SOURCES
    src/ui/application.cpp
    src/ui/program_icon.cpp
    src/ui/message_box.cpp
    src/ui/popup_menu.cpp
    src/ui/tray_icon.cpp
    src/ui/window.cpp
    src/ui/dpi.cpp
    src/ui/file_dialog.cpp
    src/ui/open_dialog.cpp
    src/ui/modal_form.cpp
    src/ui/input_box.cpp
    src/ui/icons.cpp
    src/ui/form.cpp
    src/ui/folder_dialog.cpp
    src/ui/controls.cpp
    src/ui/secret_field.cpp
    src/ui/drive_check_list.cpp
    src/ui/button_edit.cpp
    src/ui/tooltip.cpp
    src/ui/save_dialog.cpp
    src/ui/status_bar.cpp
    src/ui/help_viewer.cpp
    src/ui/task_window.cpp
  )
endif()
