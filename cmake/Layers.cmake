# The layers of the program, lowest first. A layer's sources may include their own layer's
# headers and those of the layers it names below it, nothing above: an include that runs up is
# refused here, when the build is configured, and the libraries link only downward as well.
#
#   norvane_layer(NAME <library> DIR <folder under src> [BELOW <folder>...] SOURCES <file>...)
#
# makes a static library of the sources (paths relative to DIR, itself under the folder that
# NORVANE_SOURCE_ROOT names) and checks their includes and the headers beside them.
function(norvane_layer)
  cmake_parse_arguments(LAYER "" "NAME;DIR" "BELOW;SOURCES;LINK" ${ARGN})
  set(allowed ${LAYER_DIR} ${LAYER_BELOW})
  set(sources)
  foreach(source ${LAYER_SOURCES})
    list(APPEND sources ${NORVANE_SOURCE_ROOT}/${LAYER_DIR}/${source})
  endforeach()
  file(GLOB headers ${NORVANE_SOURCE_ROOT}/${LAYER_DIR}/*.h)
  foreach(file ${sources} ${headers})
    file(STRINGS ${file} includes REGEX "^#include \"[^\"]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"(.+)/[^/]+\".*" "\\1" folder "${line}")
      if(NOT folder IN_LIST allowed)
        message(FATAL_ERROR "${file} includes \"${folder}/...\", which is not below the "
                            "${LAYER_DIR} layer (it may use: ${allowed})")
      endif()
    endforeach()
  endforeach()
  add_library(${LAYER_NAME} STATIC ${sources})
  # Configure again when a source's includes change.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources} ${headers})
  target_link_libraries(${LAYER_NAME} PUBLIC ${LAYER_LINK})
endfunction()
