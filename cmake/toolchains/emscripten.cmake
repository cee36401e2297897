# The browser build with Debian's Emscripten (package emscripten; tools/install-deps web installs
# it). Used by the web preset. The programs it makes are WebAssembly with a JavaScript loader;
# the tests run them under node.

# emcc runs parts of itself under node and takes their JavaScript modules (acorn) from Debian's
# module folder. Debian's own node searches it anyway; any other node on PATH needs telling, on
# every compile and link.
set(PAX_NODE_PATH /usr/share/nodejs)
set(CMAKE_C_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${PAX_NODE_PATH})
set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${PAX_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${PAX_NODE_PATH})

# Test programs run under node. Emscripten 3.1.6 loads its .wasm with fetch() wherever fetch
# exists, and node (18 and later) has one that takes no file paths; without it the loader reads
# the file instead.
find_program(PAX_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PAX_NODE} --no-experimental-fetch)

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
