# Sources of src/table: portable files go to the core, Win32 files to the Windows layer.
list(APPEND TASTOMAT_CORE_SOURCES
  src/table/ini_file.cpp
  src/table/program_table.cpp
  src/table/table_file.cpp
  src/table/text_encoding.cpp
)
