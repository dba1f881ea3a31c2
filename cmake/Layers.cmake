# The layers of the program, lowest first. A layer's sources may include their own layer's
# headers and those of the layers it names below it, nothing above: an include that runs up is
# refused here, when the build is configured, and the libraries link only downward as well.
#
#   norvane_layer(NAME <library> DIR <folder under src> [BELOW <folder>...] SOURCES <file>...)
#
# makes a static library of the sources (paths relative to DIR) and checks their includes.
function(norvane_layer)
  cmake_parse_arguments(LAYER "" "NAME;DIR" "BELOW;SOURCES;LINK" ${ARGN})
  set(allowed ${LAYER_DIR} ${LAYER_BELOW})
  set(sources)
  foreach(source ${LAYER_SOURCES})
    list(APPEND sources ${LAYER_DIR}/${source})
  endforeach()
  file(GLOB headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${LAYER_DIR}/*.h)
  foreach(file ${sources} ${headers})
    file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${file} includes REGEX "^#include \"[^\"]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"(.+)/[^/]+\".*" "\\1" folder "${line}")
      if(NOT folder IN_LIST allowed)
        message(FATAL_ERROR "${file} includes \"${folder}/...\", which is not below the "
                            "${LAYER_DIR} layer (it may use: ${allowed})")
      endif()
    endforeach()
  endforeach()
  add_library(${LAYER_NAME} STATIC ${sources})
  target_link_libraries(${LAYER_NAME} PUBLIC ${LAYER_LINK})
endfunction()
