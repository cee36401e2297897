# What the two Windows toolchains share; each sets PAX_MINGW_TRIPLET (i686-w64-mingw32 or
# x86_64-w64-mingw32) and CMAKE_SYSTEM_PROCESSOR before including this file. Debian's mingw-w64
# packages (tools/install-deps win32 / win64) provide the compilers.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model needs no winpthread library, so nothing beyond system DLLs is linked in.
set(CMAKE_C_COMPILER ${PAX_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PAX_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${PAX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PAX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes go into the program itself, so that it runs on a Windows without them.
# Position-independent loading and no-execute data are what Windows expects of a program today.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat ${PAX_MINGW_LINKER_FLAGS}")
# mingw's symbols mean nothing to Windows debuggers; the release program goes without them.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")


# The test programs run under Wine on the build machine, through CTest: run-in-wine picks the
# loader that fits each program and keeps a Wine prefix in the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tests/wine/run-in-wine
                                  --prefix ${CMAKE_BINARY_DIR}/wine-prefix)
