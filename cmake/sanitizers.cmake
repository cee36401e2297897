# PAX_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer; the asan
# preset turns it on for the whole test suite.
option(PAX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PAX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
                      -D_GLIBCXX_ASSERTIONS)
  add_link_options(-fsanitize=address,undefined)
endif()

# PAX_FUZZ=ON (the fuzz preset, clang only) instruments everything for libFuzzer under the same
# sanitizers and builds the fuzz targets in tests/fuzz.
option(PAX_FUZZ "Build the libFuzzer targets" OFF)
if(PAX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
