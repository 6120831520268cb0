# Resource files compiled from text at build time.
#
# wx_resource_file(<target> OUTPUT <file> SOURCES <source.r...> [DEFINES NAME=VALUE...] [DEPENDS <file...>])
#   Compiles the sources into <file> whenever one of them (or a DEPENDS file, such as a
#   picture a source names) changes; <target> builds it. A bad source fails the build with
#   file:line. Every source sees LANGUAGE=${WX_LANGUAGE}, and its strings are written in
#   that language's script.
#
# Functions live for the whole configure run once this file is included; a folder that
# comes before tools/ in the build can include it itself. The executable `rescomp` is
# found by target name when the build is generated, so the order of folders does not matter.

set(WX_LANGUAGE "E" CACHE STRING "Language letter of the build's resources (J, E, F or G)")
set_property(CACHE WX_LANGUAGE PROPERTY STRINGS J E F G)

# The application's own resource file; tests find it as $WX_BINARY_DIR/Wendrix.rsrc.
set(WX_APP_RESOURCE_FILE ${CMAKE_BINARY_DIR}/Wendrix.rsrc CACHE INTERNAL "The application's resource file")

function(wx_resource_file target)
  cmake_parse_arguments(ARG "" "OUTPUT" "SOURCES;DEFINES;DEPENDS" ${ARGN})
  if(NOT ARG_OUTPUT OR NOT ARG_SOURCES)
    message(FATAL_ERROR "wx_resource_file(${target}) needs OUTPUT and SOURCES")
  endif()
  set(defines -D LANGUAGE=${WX_LANGUAGE})
  foreach(d IN LISTS ARG_DEFINES)
    list(APPEND defines -D ${d})
  endforeach()
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND rescomp --language ${WX_LANGUAGE} ${defines} -o ${ARG_OUTPUT} ${ARG_SOURCES}
    DEPENDS rescomp ${ARG_SOURCES} ${ARG_DEPENDS}
    COMMENT "Compiling resources into ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT})
endfunction()

# Puts the application's resource file beside <target>'s executable after each build.
function(wx_copy_app_resources target)
  add_dependencies(${target} wx_app_resources)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WX_APP_RESOURCE_FILE} $<TARGET_FILE_DIR:${target}>/Wendrix.rsrc
    VERBATIM)
endfunction()
