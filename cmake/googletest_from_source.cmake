# GoogleTest for builds that cannot use the host's compiled copy (cross builds: Windows, the web):
# pax_googletest_from_source([SOURCE_DIR DIR]) compiles it with the build's own toolchain from the
# sources that Debian's googletest package ships (default /usr/src/googletest; tools/install-deps
# test installs it) and provides the targets GTest::gtest and GTest::gtest_main, as
# find_package(GTest) would. The tests run under the toolchain's CMAKE_CROSSCOMPILING_EMULATOR.
function(pax_googletest_from_source)
  cmake_parse_arguments(arg "" "SOURCE_DIR" "" ${ARGN})
  if(NOT arg_SOURCE_DIR)
    set(arg_SOURCE_DIR /usr/src/googletest)
  endif()
  if(NOT EXISTS ${arg_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${arg_SOURCE_DIR}; install Debian's googletest "
                        "package (tools/install-deps test)")
  endif()
  if(TARGET GTest::gtest)
    return()
  endif()
  # Only the test library: no mock library, nothing installed. The tests are single-threaded,
  # and a target without POSIX threads (the web) must not look for them.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${arg_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest's one use of std::mutex is Notification, a helper of its own thread tests; a C++
  # library without std::mutex (mingw-w64's win32 thread model) gets a stand-in through
  # GoogleTest's hook for it. Every user of the headers must see it too, hence PUBLIC.
  include(CheckCXXSourceCompiles)
  check_cxx_source_compiles("#include <mutex>\nint main() { std::mutex m; m.lock(); }"
                            PAX_HAVE_STD_MUTEX)
  if(NOT PAX_HAVE_STD_MUTEX)
    set(header ${CMAKE_BINARY_DIR}/googletest/pax_gtest_notification.h)
    file(WRITE ${header} [=[
// Written by cmake/googletest_from_source.cmake: GoogleTest's Notification for a C++ library
// without std::mutex. Only GoogleTest's own thread tests use it; none runs here.
#pragma once
#include <atomic>
namespace testing::internal {
class Notification {
 public:
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};
}  // namespace testing::internal
]=])
    target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(gtest PUBLIC -include ${header})
  endif()
  # Recent GoogleTest names its targets so itself; older releases do not.
  foreach(name gtest gtest_main)
    if(NOT TARGET GTest::${name})
      add_library(GTest::${name} ALIAS ${name})
    endif()
  endforeach()
endfunction()
