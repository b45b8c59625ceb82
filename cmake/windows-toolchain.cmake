# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake --preset windows
# Programs are linked statically: the .exe files need nothing beside them.
# Tests and programs run under Wine (wine64) when they are run here.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unicode Win32 calls only; Windows 7 and later.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian keeps the 64-bit loader out of PATH unless the package wine is installed.
find_program(KVADREL_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(KVADREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${KVADREL_WINE}")
endif()
