# Cross-build for 32-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-i686 and
# binutils-mingw-w64-i686; tools/install-deps win32 installs them). Used by the win32 preset.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PAX_MINGW_TRIPLET i686-w64-mingw32)
set(PAX_MINGW_LINKER_FLAGS "")

# Doubles stay doubles: the x87 unit may keep intermediate results at 80 bits, and then the
# time budget and the bar's rounding could come out otherwise than on every other build.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
