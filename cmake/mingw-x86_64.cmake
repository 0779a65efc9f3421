# Cross build for 64-bit Windows, for the Windows-side tests on a machine
# whose kernel runs no 32-bit processes and so no 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMI_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
