# Cross build for 32-bit Windows with mingw-w64; programs run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QEV_TOOL_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
