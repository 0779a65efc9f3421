# The real program and the Wine tier, cross-built for 32-bit Windows.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
add_link_options(-static $<$<CONFIG:Release>:-s>)
# Release is built for size, and says so once: CMake's own Release flags
# would put -O3 before it. Small code costs nothing measurable here: the time
# goes to the system's calls.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
# One section per function and datum lets the program's link drop what it never uses.
add_compile_options(-ffunction-sections -fdata-sections)

set(LUMI_SYSTEM_LIBS comctl32 shlwapi shell32 ole32 oleaut32 uuid gdi32 user32 advapi32)

lumi_subsystem_libraries("" "PURE;WIN")
target_link_libraries(lumi_win PUBLIC ${LUMI_SYSTEM_LIBS})
# Everything, for the test programs and benchmarks that reach into every layer.
add_library(lumi_core INTERFACE)
target_link_libraries(lumi_core INTERFACE ${LUMI_LIBRARIES})

# The project version is the only one written by hand: the about box, the
# manifest, the version resource, ReadMe.txt and the packages are made from it.
set(LUMI_VERSION_PARTS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND LUMI_VERSION_PARTS 0)
  else()
    list(APPEND LUMI_VERSION_PARTS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN LUMI_VERSION_PARTS "." LUMI_VERSION_QUAD)
list(JOIN LUMI_VERSION_PARTS "," LUMI_VERSION_NUMBERS)
set(LUMI_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(resources/version.h.in ${LUMI_GENERATED}/version.h @ONLY)
# What follows the word size: the manifest names the program's architecture and
# that of the controls it binds to, and the installer runs the program it
# installs, so it is built alike.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(LUMI_MANIFEST_ARCH amd64)
  set(LUMI_NSIS_TARGET -DTARGET=amd64-unicode)
else()
  set(LUMI_MANIFEST_ARCH x86)
  set(LUMI_NSIS_TARGET "")
endif()
configure_file(resources/lumivane.exe.manifest.in ${LUMI_GENERATED}/lumivane.exe.manifest @ONLY)
# Beside the exe, where the help command looks; CR LF and the BOM so Notepad reads it.
configure_file(resources/ReadMe.txt.in ${CMAKE_BINARY_DIR}/ReadMe.txt @ONLY NEWLINE_STYLE CRLF)

# One compiled resource script serves the program and the tests that load its strings and templates.
# windres reports no dependencies, so the script's includes, icons and manifest are named here.
file(GLOB LUMI_RES_INPUTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h ${CMAKE_SOURCE_DIR}/resources/icons/*.ico)
list(APPEND LUMI_RES_INPUTS ${LUMI_GENERATED}/version.h ${LUMI_GENERATED}/lumivane.exe.manifest)
set_source_files_properties(resources/lumivane.rc PROPERTIES OBJECT_DEPENDS "${LUMI_RES_INPUTS}")
add_library(lumi_res OBJECT resources/lumivane.rc)
target_include_directories(lumi_res PRIVATE ${CMAKE_SOURCE_DIR}/resources ${LUMI_GENERATED})

# LeanThrow replaces libstdc++'s reports of failed checks and its terminate
# handler (see there). GoogleTest needs the library's own, so the Wine tier
# checks them in a program of their own, lean_throw_check.
add_library(lumi_lean_throw OBJECT app/LeanThrow.cpp)
lumi_strict(lumi_lean_throw)
add_executable(lumivane WIN32 app/Main.cpp $<TARGET_OBJECTS:lumi_lean_throw> $<TARGET_OBJECTS:lumi_res>)
target_compile_options(lumivane PRIVATE -municode)
target_link_options(lumivane PRIVATE -municode -Wl,--gc-sections)
target_link_libraries(lumivane PRIVATE lumi_app)
lumi_strict(lumivane)

include(cmake/Package.cmake)

# The Wine tier needs GoogleTest's sources (Debian's googletest package); a
# build on Windows without them makes the program alone.
set(LUMI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross-built tests")
if(NOT EXISTS ${LUMI_GTEST_SOURCE}/CMakeLists.txt)
  return()
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${LUMI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(wine_tests ${LUMI_WINE_TESTS} $<TARGET_OBJECTS:lumi_res>)
target_link_libraries(wine_tests PRIVATE lumi_core gtest)
lumi_strict(wine_tests)
# The version test reads the built program and learns the version only from here.
add_dependencies(wine_tests lumivane)
# A dwmapi.dll beside the tests, as one planted beside the program would be.
add_library(planted_dwmapi SHARED tests/engine/PlantedDwmapi.cpp)
set_target_properties(planted_dwmapi PROPERTIES PREFIX "" OUTPUT_NAME dwmapi)
lumi_strict(planted_dwmapi)
add_dependencies(wine_tests planted_dwmapi)
# A test that indexes past the end of a list ends the run at once, under its
# "[ RUN ]" line, instead of reading on into whatever lies beyond.
target_compile_definitions(wine_tests PRIVATE LUMI_PROJECT_VERSION="${PROJECT_VERSION}" _GLIBCXX_ASSERTIONS)
target_link_libraries(wine_tests PRIVATE version)
add_test(NAME wine_tests COMMAND wine_tests)
set_tests_properties(wine_tests PROPERTIES TIMEOUT 300 ENVIRONMENT "LC_ALL=en_US.UTF-8;LUMI_REQUIRE_ACP=1252")

# lumi_wine_rerun(NAME PATTERNS [NAME=VALUE...] [RUN_UNDER COMMAND...]) runs
# the Wine tests each of the ':'-separated PATTERNS selects once more, one
# entry NAME_PATTERN a pattern, with that environment and, given RUN_UNDER, by
# a command that ends by running the rest of its arguments (none of them may
# hold a ';', where CMake would split it). A run that selects no test fails
# (tests/support/WineTestMain.cpp), so a renamed suite cannot leave a rerun
# passing on nothing.
function(lumi_wine_rerun name patterns)
  cmake_parse_arguments(ARG "" "" "RUN_UNDER" ${ARGN})
  set(command wine_tests)
  if(ARG_RUN_UNDER)
    set(command ${ARG_RUN_UNDER} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:wine_tests>)
  endif()
  string(REPLACE ":" ";" patterns "${patterns}")
  foreach(pattern IN LISTS patterns)
    string(REGEX REPLACE "[^A-Za-z0-9]" "" suite "${pattern}")
    add_test(NAME ${name}_${suite} COMMAND ${command} --gtest_filter=${pattern})
    set_tests_properties(${name}_${suite} PROPERTIES TIMEOUT 120 ENVIRONMENT "${ARG_UNPARSED_ARGUMENTS}")
  endforeach()
endfunction()

# Wine takes the ANSI code page from the locale: a fixed Western one for the
# whole run above (1252), and the code-page suites again under Chinese (936)
# and Japanese (932). LUMI_REQUIRE_ACP makes the code-page tests fail, not
# skip, when the locale is missing.
lumi_wine_rerun(wine_tests_zh ListFile*:StoreScripts* LC_ALL=zh_CN.UTF-8 LUMI_REQUIRE_ACP=936)
lumi_wine_rerun(wine_tests_ja StoreScripts* LC_ALL=ja_JP.UTF-8 LUMI_REQUIRE_ACP=932)
# Root reads past file permissions, so there the test of a file behind a closed
# folder runs without the two capabilities that allow it (Wine queries files in
# the test's own process), and fails rather than skips if access is not denied.
lumi_wine_rerun(wine_tests_denied FileExists.* LUMI_REQUIRE_DENIED=1 RUN_UNDER sh -c
  "[ \"$(id -u)\" != 0 ] && exec \"$@\" || exec setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search \"$@\""
  sh)
# The icons at 150 % scaling; LUMI_REQUIRE_SMALL_ICON makes the run fail if
# the prefix's scaling did not take.
lumi_wine_rerun(wine_tests_dpi144 CMainFrameTest.ClassCarries*:CMainFrameCommands.MovePictures*
  LUMI_REQUIRE_SMALL_ICON=24 RUN_UNDER bash ${CMAKE_SOURCE_DIR}/tests/app/at_dpi.sh 144)

# The shipped program's build and size, checked without Wine, so it also runs
# where the Wine tier takes the 64-bit twin.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++.a
                  OUTPUT_VARIABLE LUMI_LIBSTDCXX OUTPUT_STRIP_TRAILING_WHITESPACE)
  add_test(NAME program_check COMMAND bash ${CMAKE_SOURCE_DIR}/tests/app/program_check.sh $<TARGET_FILE:lumivane>
           ${CMAKE_OBJDUMP} ${CMAKE_NM} ${LUMI_LIBSTDCXX} $<TARGET_OBJECTS:lumi_lean_throw>)
  set_tests_properties(program_check PROPERTIES TIMEOUT 60 LABELS no-wine)
endif()

add_executable(lean_throw_check tests/app/lean_throw_check.cpp $<TARGET_OBJECTS:lumi_lean_throw>)
lumi_strict(lean_throw_check)
add_test(NAME lean_throw_check COMMAND lean_throw_check)
set_tests_properties(lean_throw_check PROPERTIES TIMEOUT 60)

add_subdirectory(tests/e2e)
add_subdirectory(bench)
