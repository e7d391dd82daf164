# The help file TASTOMAT.chm, built beside Tastomat.exe from the pages under help/ with
# Free Pascal's chmcmd; the program finds it beside its own executable.
option(TASTOMAT_HELP "Build the help file TASTOMAT.chm (needs chmcmd and extract_chmLib)" ON)

if(TASTOMAT_HELP)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  find_program(TASTOMAT_CHMCMD chmcmd)
  find_program(TASTOMAT_EXTRACT_CHMLIB extract_chmLib)
  if(NOT TASTOMAT_CHMCMD OR NOT TASTOMAT_EXTRACT_CHMLIB)
    message(FATAL_ERROR "The help file needs chmcmd (Debian: fp-utils) and extract_chmLib "
                        "(Debian: libchm-bin); scripts/setup.sh installs both. "
                        "-DTASTOMAT_HELP=OFF builds without the help file.")
  endif()

  set(TASTOMAT_HELP_FILE ${CMAKE_BINARY_DIR}/TASTOMAT.chm)
  # Every page, picture and the project itself: a changed or added page rebuilds the file.
  file(GLOB TASTOMAT_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
  add_custom_command(
    OUTPUT ${TASTOMAT_HELP_FILE}
    COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/scripts/build_help.py
            ${CMAKE_SOURCE_DIR}/help ${TASTOMAT_HELP_FILE}
    DEPENDS ${TASTOMAT_HELP_SOURCES}
            ${CMAKE_SOURCE_DIR}/scripts/build_help.py
            ${CMAKE_SOURCE_DIR}/scripts/chm_context_paths.py
    COMMENT "Building the help file TASTOMAT.chm"
    VERBATIM)
  add_custom_target(help_file ALL DEPENDS ${TASTOMAT_HELP_FILE})
endif()
