# Turns text files into a C++ source that holds them as byte arrays, so a
# program serves them without reading anything at run time.
#
#   orvel_embed_files(TARGET tgt NAME webAppFiles FILES a.html b.js)
#
# adds a generated source to tgt defining
#   std::span<const OrvelEmbedded::File> OrvelEmbedded::webAppFiles();
# (declared in tools/embed/EmbeddedFile.h), one entry per file, named by its
# file name. The source is regenerated when a file changes.

set(_orvel_embed_script "${CMAKE_CURRENT_LIST_FILE}")

function(orvel_embed_files)
  cmake_parse_arguments(ARG "" "TARGET;NAME" "FILES" ${ARGN})
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.cpp")
  set(absolute)
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(path "${file}" ABSOLUTE)
    list(APPEND absolute "${path}")
  endforeach()
  string(REPLACE ";" "|" joined "${absolute}")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DEMBED_NAME=${ARG_NAME} "-DEMBED_FILES=${joined}"
            -DEMBED_OUTPUT=${output} -P "${_orvel_embed_script}"
    DEPENDS ${absolute} "${_orvel_embed_script}"
    COMMENT "Embedding ${ARG_NAME}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${output}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED EMBED_OUTPUT)
  string(REPLACE "|" ";" files "${EMBED_FILES}")
  set(arrays "")
  set(entries "")
  set(index 0)
  foreach(file IN LISTS files)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" length)
    math(EXPR size "${length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    get_filename_component(name "${file}" NAME)
    string(APPEND arrays "const unsigned char file${index}[${size} + 1] = {${bytes}0};\n")
    string(APPEND entries "    {\"${name}\", {reinterpret_cast<const char*>(file${index}), ${size}}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  file(WRITE "${EMBED_OUTPUT}.tmp"
"// Generated from the files it names; edit those instead.
#include \"tools/embed/EmbeddedFile.h\"

#include <array>

namespace OrvelEmbedded {
namespace {
${arrays}
const std::array<File, ${index}> files{{
${entries}}};
} // namespace

std::span<const File> ${EMBED_NAME}() { return files; }

} // namespace OrvelEmbedded
")
  file(RENAME "${EMBED_OUTPUT}.tmp" "${EMBED_OUTPUT}")
endif()
