# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads
# variant). Programs are linked statically, so they need only the system's
# DLLs; tests run them under Wine. Libraries are looked for in MinGW-w64's
# own root and in the folder scripts/setup-win32 builds GLEW and GoogleTest
# into, never in the host's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(tidemoor_win32_prefix "${CMAKE_CURRENT_LIST_DIR}/../build-win32-deps/prefix" ABSOLUTE)
set(TIDEMOOR_WIN32_PREFIX "${tidemoor_win32_prefix}"
    CACHE PATH "Where scripts/setup-win32 installs GLEW and GoogleTest for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${TIDEMOOR_WIN32_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
