# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   apt-get install g++-mingw-w64-x86-64-posix wine wine64
# Programs are linked statically (they need only system DLLs) and run under
# Wine when CTest starts them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LINTARO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${LINTARO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LINTARO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LINTARO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LINTARO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(LINTARO_WINE NAMES wine wine64)
if(LINTARO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LINTARO_WINE})
endif()
