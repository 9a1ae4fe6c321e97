# Cross build for 64-bit Windows with mingw-w64, for hosts that cannot run
# 32-bit programs (scripts/lib.sh picks it there); programs run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QEV_TOOL_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QEV_TOOL_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${QEV_TOOL_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${QEV_TOOL_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QEV_TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

get_filename_component(QEV_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEV_WINE_RUN})
