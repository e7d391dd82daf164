# Sources of src/support: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/support/form_state.cpp
  src/support/settings_location.cpp
  src/support/shortcut_installer.cpp
  src/support/drive_labels.cpp
)
