# pax_embed(<output.inc> <file>...): generates, at build time, a C++ fragment listing the bytes
# of the files one after another ("0x42,0x4d,..."), to be included inside an array initialiser.
# The fragment is remade whenever one of the files changes.
function(pax_embed output)
  set(files ${ARGN})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DFILES=${files}" -P ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
    COMMENT "Embedding ${files}"
    VERBATIM)
endfunction()
