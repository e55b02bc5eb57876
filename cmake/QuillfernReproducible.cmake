# Same sources, same bytes: no build folder paths and no link time in the
# binaries. Included before any target exists so every folder gets it.
add_compile_options(
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
  -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
if(WIN32)
  # PE headers carry a link time unless told otherwise.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
