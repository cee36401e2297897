# GoogleTest built with the project's own compiler from Debian's sources (package googletest),
# for builds where the system's compiled library does not fit: cross-builds. GoogleTest's own
# build makes the targets GTest::gtest and GTest::gtest_main that find_package(GTest) would.
set(PAX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${PAX_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${PAX_GOOGLETEST_SOURCE} "
                      "(tools/install-deps installs the googletest package)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${PAX_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
