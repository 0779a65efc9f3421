# What both cross builds share, for the LUMI_TRIPLE their toolchain file names:
# Debian's MinGW-w64 with the posix thread model, linked statically so no
# MinGW DLL has to travel with the executable.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${LUMI_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMI_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMI_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMI_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine in the disposable prefix the test script prepares.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
