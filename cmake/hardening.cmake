# PAX_HARDEN=ON (the release preset) builds position-independent executables with full RELRO,
# stack protectors and fortified library calls on Linux; on Windows, relocatable images with
# data execution prevention. tools/check-hardening verifies the built files.
option(PAX_HARDEN "Build hardened binaries" OFF)
if(PAX_HARDEN)
  if(WIN32)
    add_link_options(-Wl,--dynamicbase -Wl,--nxcompat)
  else()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
    add_compile_options(-fstack-protector-strong -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
  endif()
endif()
