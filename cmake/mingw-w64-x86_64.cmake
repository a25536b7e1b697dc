# Cross-building the 64-bit Windows program with Debian's MinGW-w64 (POSIX thread variant): the
# same sources as the 32-bit product, so the Windows code can be tested under 64-bit Wine where a
# machine cannot run 32-bit programs. Test programs run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained exe: the C and C++ runtimes and winpthreads are linked in, so only system
# DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's `wine` picks the 32-bit loader whenever wine32 is installed, even where it cannot run,
# so the 64-bit loader is named directly.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
