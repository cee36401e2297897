cmake_minimum_required(VERSION 3.25)
# Run with -DROOT=<source dir>. Fails when a file of the game core includes a header that is not
# the project's own ("..." form) or one of the C++ standard library's.
set(allowed algorithm array bit cassert charconv cmath cstddef cstdint cstdio cstdlib cstring
    functional iterator limits memory numeric optional span stdexcept string string_view
    type_traits utility vector)
file(GLOB_RECURSE core_files ${ROOT}/game/*.h ${ROOT}/game/*.cpp ${ROOT}/render/*.h
     ${ROOT}/render/*.cpp)
set(bad "")
foreach(file IN LISTS core_files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "<([^>]+)>")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed)
        list(APPEND bad "${file}: ${line}")
      endif()
    elseif(line MATCHES "\"([^\"]+)\"")
      if(CMAKE_MATCH_1 MATCHES "^platform/(sdl|win32|scripted)/")
        list(APPEND bad "${file}: ${line}")
      endif()
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "The game core may include only its own and standard headers:\n  ${text}")
endif()
