# Cross build for 64-bit Windows with the mingw-w64 compiler (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QV_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QV_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every Windows test executable runs under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
