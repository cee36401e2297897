# Installation and the Debian package of the Linux build: the game, its desktop entry, its icons
# in the three sizes of the window icon, and its AppStream metadata. `cmake --install` puts them
# under the prefix; `cpack` (run in the build folder) makes the .deb from the same rules. Builds
# without the game binary (the test-only and Windows builds) install nothing from here.
if(NOT TARGET paxmorella OR WIN32)
  return()
endif()

include(GNUInstallDirs)

install(TARGETS paxmorella RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/paxmorella.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/org.paxmorella.paxmorella.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/paxmorella-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME paxmorella.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME paxmorella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Paxmorella developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from the binary's own links (dpkg-shlibdeps); fontconfig's own package
# brings a face for the texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
