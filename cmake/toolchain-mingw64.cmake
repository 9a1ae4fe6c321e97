# Cross build for 64-bit Windows with mingw-w64, for hosts that cannot run
# 32-bit programs (scripts/lib.sh picks it there); programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QEV_TOOL_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
