# What a Windows user downloads: a setup program made with Debian's nsis from
# assets/windows/paxmorella.nsi, and a portable .zip of the program. The windows_packages target
# of a Windows build writes Paxmorella-<version>-win32-setup.exe and Paxmorella-<version>-win32.zip
# (win64 for the 64-bit build) into the build folder; tests/wine/check-packages tries them.
if(NOT WIN32 OR NOT TARGET paxmorella)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(pax_bits 64)
else()
  set(pax_bits 32)
endif()
set(pax_package Paxmorella-${PROJECT_VERSION}-win${pax_bits})
set(pax_setup ${PROJECT_BINARY_DIR}/${pax_package}-setup.exe)
set(pax_zip ${PROJECT_BINARY_DIR}/${pax_package}.zip)
set(pax_nsi ${PROJECT_SOURCE_DIR}/assets/windows/paxmorella.nsi)
set(pax_icon ${PROJECT_SOURCE_DIR}/assets/paxmorella.ico)

find_program(PAX_MAKENSIS makensis)
if(PAX_MAKENSIS)
  set(pax_makensis ${PAX_MAKENSIS})
else()
  set(pax_makensis ${CMAKE_COMMAND} -E false)
  message(STATUS "makensis not found: windows_packages will fail (tools/install-deps win${pax_bits})")
endif()
# -WX: a warning of makensis fails the build, as the compilers' do under CI.
add_custom_command(
  OUTPUT ${pax_setup}
  COMMAND ${pax_makensis} -V2 -WX -DVERSION=${PROJECT_VERSION} -DPROGRAM=$<TARGET_FILE:paxmorella>
          -DICON=${pax_icon} -DBITS=${pax_bits} -DOUTFILE=${pax_setup} ${pax_nsi}
  DEPENDS paxmorella ${pax_nsi} ${pax_icon}
  COMMENT "Making ${pax_package}-setup.exe"
  VERBATIM)

# The portable archive: one folder with the program, which needs nothing installed.
set(pax_portable ${PROJECT_BINARY_DIR}/portable)
add_custom_command(
  OUTPUT ${pax_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${pax_portable}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${pax_portable}/${pax_package}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:paxmorella> ${pax_portable}/${pax_package}/
  COMMAND ${CMAKE_COMMAND} -E chdir ${pax_portable} ${CMAKE_COMMAND} -E tar cf ${pax_zip}
          --format=zip ${pax_package}
  DEPENDS paxmorella
  COMMENT "Making ${pax_package}.zip"
  VERBATIM)

add_custom_target(windows_packages DEPENDS ${pax_setup} ${pax_zip})
