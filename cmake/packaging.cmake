# Installation of the Linux build: the game, its manual page, its desktop entry, its icons and
# its AppStream metadata. `cmake --install` puts them under the prefix; the Debian source package
# in debian/ installs the same files through these rules, with the program in games/. Builds
# without the game binary (the test-only and Windows builds) install nothing from here.
if(NOT TARGET paxmorella OR WIN32)
  return()
endif()

include(GNUInstallDirs)

# Where under the prefix the program goes: bin/ by default, games/ for the Debian package.
set(PAX_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR}
    CACHE STRING "Folder under the prefix for the game's program (bin, or games for a distribution)")

install(TARGETS paxmorella RUNTIME DESTINATION ${PAX_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/paxmorella.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The desktop entry starts the program by its full path, which is known only when installing
# (`cmake --install --prefix` may name another prefix than the configured one): the entry is
# written then, and installed right after.
set(desktop_entry ${CMAKE_CURRENT_BINARY_DIR}/paxmorella.desktop)
install(CODE "
  file(READ \"${PROJECT_SOURCE_DIR}/assets/linux/paxmorella.desktop.in\" entry)
  cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
  cmake_path(APPEND prefix \"${PAX_INSTALL_BINDIR}\" paxmorella OUTPUT_VARIABLE program)
  string(REPLACE \"@PROGRAM@\" \"\${program}\" entry \"\${entry}\")
  file(WRITE \"${desktop_entry}\" \"\${entry}\")")
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/org.paxmorella.paxmorella.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# 16, 32 and 48 pixels are the window's own icons; software centres want 64 and more.
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/paxmorella-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME paxmorella.png)
endforeach()
