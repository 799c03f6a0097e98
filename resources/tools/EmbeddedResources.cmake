# The window's fonts and images, compiled into zelk_engine as byte arrays.
#
# Included by engine/CMakeLists.txt, this file adds a build step that writes
# EmbeddedResources.cpp into the build folder from the committed files below;
# run as a script (cmake -DOUTPUT=... -P EmbeddedResources.cmake) it writes that
# source. Each array ends with an extra NUL byte that the size does not count,
# so the SVG texts can be read as C strings. resources/EmbeddedResources.h
# declares the names.

set(ZELK_EMBEDDED_RESOURCES
  robotoRegularTtf    fonts/Roboto-Regular.ttf
  fontAwesomeSolidTtf fonts/fa-solid-900.ttf
  knobPointerSvg      images/knob-pointer.svg
  knobBodySvg         images/knob-body.svg
  logoSvg             images/logo.svg)

get_filename_component(ZELK_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

if(CMAKE_SCRIPT_MODE_FILE)
  string(CONCAT text "// Generated at build time by resources/tools/EmbeddedResources.cmake. Do not edit.\n\n"
                     "#include \"resources/EmbeddedResources.h\"\n\n")
  string(REPEAT "[0-9a-f]" 48 line_pattern)
  list(LENGTH ZELK_EMBEDDED_RESOURCES count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET ZELK_EMBEDDED_RESOURCES ${i} name)
    list(GET ZELK_EMBEDDED_RESOURCES ${j} file)
    file(READ "${ZELK_RESOURCES_DIR}/${file}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "(${line_pattern})" "\\1\n" hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND text "// ${file}\n"
                       "static const unsigned char ${name}Bytes[] = {\n${bytes}\n0x00 };\n"
                       "const char* const resources::${name} = reinterpret_cast<const char*> (${name}Bytes);\n"
                       "const int resources::${name}Size = ${size};\n\n")
  endforeach()
  file(WRITE "${OUTPUT}.tmp" "${text}")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

function(zelk_embed_resources target)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/EmbeddedResources.cpp")
  set(inputs)
  list(LENGTH ZELK_EMBEDDED_RESOURCES count)
  math(EXPR last "${count} - 1")
  foreach(j RANGE 1 ${last} 2)
    list(GET ZELK_EMBEDDED_RESOURCES ${j} file)
    list(APPEND inputs "${ZELK_RESOURCES_DIR}/${file}")
  endforeach()
  add_custom_command(OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" -P "${ZELK_RESOURCES_DIR}/tools/EmbeddedResources.cmake"
    DEPENDS "${ZELK_RESOURCES_DIR}/tools/EmbeddedResources.cmake" ${inputs}
    COMMENT "Embedding fonts and images"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
