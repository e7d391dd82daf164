# Win32 integration tests: the real API under Wine.
set(WIN_TEST_SOURCES
  win/win_tests.rc
  win/tray_icon_win_test.cpp
  win/executable_win_test.cpp
  win/fishotkey_win_test.cpp
  win/drives_win_test.cpp
  win/keyboard_layout_win_test.cpp
  win/shell_win_test.cpp
  win/clock_win_test.cpp
  win/file_system_win_test.cpp
  win/form_state_win_test.cpp
  win/settings_file_win_test.cpp
  win/window_win_test.cpp
  win/winhttp_client_win_test.cpp
  win/info_version_win_test.cpp
)
