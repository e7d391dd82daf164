# Import libraries whose DLL is loaded at the first call of one of its functions, through
# the MinGW runtime's delay-load helper, instead of by the loader at every start. Each lists
# the functions the program calls. One that is not listed is found in the compiler's
# default libraries instead and imported the ordinary way, loading its DLL at every start
# again: `x86_64-w64-mingw32-objdump -p Tastomat.exe` lists what the loader maps.
#
#   tastomat_delay_import(<out-var> <dll> <function>...)
# sets <out-var> to what to link: the delay-import library with MinGW, the DLL's ordinary
# import library elsewhere.
function(tastomat_delay_import out dll)
  if(NOT MINGW OR NOT CMAKE_DLLTOOL)
    set(${out} ${dll} PARENT_SCOPE)
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/delay_import)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  list(JOIN ARGN "\n  " exports)
  file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n  ${exports}\n" @ONLY)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(delay_import_${dll} DEPENDS ${lib})
  add_library(delay_${dll} STATIC IMPORTED GLOBAL)
  set_target_properties(delay_${dll} PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(delay_${dll} delay_import_${dll})
  set(${out} delay_${dll} PARENT_SCOPE)
endfunction()
