# Portable tests: built natively and for Windows (run under Wine).
set(TEST_SUPPORT_SOURCES
  support/fakes.cpp
)
set(UNIT_TEST_SOURCES
  unit/key_dispatch_test.cpp
  unit/program_start_test.cpp
  unit/shortcut_test.cpp
  unit/slot_editing_test.cpp
  unit/form_state_test.cpp
  unit/ini_file_test.cpp
  unit/program_table_test.cpp
  unit/settings_location_test.cpp
  unit/text_encoding_test.cpp
  unit/info_version_test.cpp
  unit/update_check_test.cpp
)
