# What the update server holds, made from this build (target "release", part of "all"):
#   release/tastomat.ver  the version as the update check reads it: major + minor / 100
#                         with two decimals and a comma ("1,00"), the very number the
#                         program's own version information gives
#   release/tastomat.zip  Tastomat.exe, and TASTOMAT.chm when the build makes it
#   release/tastomat.zip.sha256  its checksum, for those who download it by hand
# The names follow the program file: the check asks for its lower-cased name.
set(TASTOMAT_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)

math(EXPR _hundredths "${PROJECT_VERSION_MAJOR} * 100 + ${PROJECT_VERSION_MINOR}")
math(EXPR _whole "${_hundredths} / 100")
math(EXPR _fraction "${_hundredths} % 100")
if(_fraction LESS 10)
  set(_fraction "0${_fraction}")
endif()
file(CONFIGURE OUTPUT ${TASTOMAT_RELEASE_DIR}/tastomat.ver CONTENT "${_whole},${_fraction}\n"
     NEWLINE_STYLE CRLF)

set(_staging ${TASTOMAT_RELEASE_DIR}/staging)
set(_files Tastomat.exe)
set(_copy_help)
set(_help_dependency)
# The help file the build makes (cmake/help.cmake), when it makes one.
set(_help "${TASTOMAT_HELP_FILE}")
if(_help)
  list(APPEND _files TASTOMAT.chm)
  set(_copy_help COMMAND ${CMAKE_COMMAND} -E copy ${_help} ${_staging}/TASTOMAT.chm)
  set(_help_dependency ${_help})
endif()

add_custom_command(
  OUTPUT ${TASTOMAT_RELEASE_DIR}/tastomat.zip ${TASTOMAT_RELEASE_DIR}/tastomat.zip.sha256
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_staging} ${TASTOMAT_RELEASE_DIR}/tastomat.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_staging}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tastomat> ${_staging}/Tastomat.exe
  ${_copy_help}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_staging}
          ${CMAKE_COMMAND} -E tar cf ${TASTOMAT_RELEASE_DIR}/tastomat.zip --format=zip ${_files}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_staging}
  COMMAND ${CMAKE_COMMAND} -DFILE=${TASTOMAT_RELEASE_DIR}/tastomat.zip -P
          ${CMAKE_CURRENT_LIST_DIR}/sha256_file.cmake
  DEPENDS Tastomat ${_help_dependency} ${CMAKE_CURRENT_LIST_DIR}/sha256_file.cmake
  COMMENT "Packing release/tastomat.zip"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${TASTOMAT_RELEASE_DIR}/tastomat.zip)
