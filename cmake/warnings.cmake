# Warning flags shared by every target of the project. Warnings become errors when PAX_WERROR is on
# (the default under CI, where the environment sets CI).
if(DEFINED ENV{CI} AND NOT DEFINED PAX_WERROR)
  set(PAX_WERROR ON)
endif()
option(PAX_WERROR "Treat compiler warnings as errors" OFF)

function(pax_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${PAX_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                             -Wshadow $<$<BOOL:${PAX_WERROR}>:-Werror>)
  endif()
endfunction()
