# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64). The posix
# thread flavour, because the core uses std::thread and std::mutex; static runtime, so the
# test programs run under Wine without copying DLLs next to them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tavelo_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tavelo_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavelo_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tavelo_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${tavelo_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the Windows programs through Wine.
find_program(TAVELO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAVELO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVELO_WINE})
endif()
