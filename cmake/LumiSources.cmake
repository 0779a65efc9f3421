# Each subsystem folder names its own sources; the top level gathers them.
# PURE files never include <windows.h> and also build natively under the sanitizers.
function(lumi_sources)
  cmake_parse_arguments(ARG "" "" "PURE;WIN" ${ARGN})
  foreach(f IN LISTS ARG_PURE)
    set_property(GLOBAL APPEND PROPERTY LUMI_PURE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  foreach(f IN LISTS ARG_WIN)
    set_property(GLOBAL APPEND PROPERTY LUMI_WIN_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# NATIVE tests link only the pure sources; WINE tests run in the cross-built executable.
function(lumi_tests)
  cmake_parse_arguments(ARG "" "" "NATIVE;WINE" ${ARGN})
  foreach(f IN LISTS ARG_NATIVE)
    set_property(GLOBAL APPEND PROPERTY LUMI_NATIVE_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  foreach(f IN LISTS ARG_WINE)
    set_property(GLOBAL APPEND PROPERTY LUMI_WINE_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()
