# Cross-build for 32-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-i686 and
# binutils-mingw-w64-i686; tools/install-deps win32 installs them). Used by the win32 preset.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

# The win32 thread model needs no winpthread library, so nothing beyond system DLLs is linked in.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Doubles stay doubles: the x87 unit may keep intermediate results at 80 bits, and then the
# time budget and the bar's rounding could come out otherwise than on every other build.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# The C and C++ runtimes go into the program itself, so that it runs on a Windows without them.
# Position-independent loading and no-execute data are what Windows expects of a program today.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat")
# mingw's symbols mean nothing to Windows debuggers; the release program goes without them.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
