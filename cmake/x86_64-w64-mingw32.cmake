# 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix): ./dev windows.
# Test binaries and the CLI run under wine64 (the emulator CTest and the end-to-end script use).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QIVARA_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QIVARA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QIVARA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QIVARA_MINGW_TRIPLET}-windres)

# Libraries and headers from the target's own tree only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QIVARA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(QIVARA_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(QIVARA_WINE64 NAMES wine64)
if(QIVARA_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QIVARA_WINE64})
endif()

