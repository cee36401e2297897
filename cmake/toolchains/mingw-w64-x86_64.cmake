# Cross-build for 64-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-x86-64 and
# binutils-mingw-w64-x86-64; tools/install-deps win64 installs them). Used by the win64 preset.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(PAX_MINGW_TRIPLET x86_64-w64-mingw32)
# A 64-bit program may be loaded anywhere in the 64-bit address space, not only below 4 GiB.
set(PAX_MINGW_LINKER_FLAGS "-Wl,--high-entropy-va")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
