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

# The application's own resource file, in the runtime tree; tests find it as
# $WX_BINARY_DIR/share/wendrix/Wendrix.rsrc.
set(WX_APP_RESOURCE_FILE ${CMAKE_BINARY_DIR}/share/wendrix/Wendrix.rsrc CACHE INTERNAL "The application's resource file")

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

# wx_read_defines(<file> <variable>)
#   Sets <variable> to the NAME=text lines of <file> (UTF-8; '#' lines are comments), ready
#   for the DEFINES of wx_resource_file; the text may hold spaces and quotes but no ';', '['
#   or ']'.
#   Changing the file configures the build again.
function(wx_read_defines file variable)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} content)
  if(content MATCHES "[];[]")
    message(FATAL_ERROR "${file}: a text holds ';', '[' or ']', which a CMake list cannot carry")
  endif()
  string(REPLACE "\n" ";" lines "${content}")
  set(defines "")
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^[A-Za-z_][A-Za-z_0-9]*=")
      message(FATAL_ERROR "${file}: '${line}' is not NAME=text")
    endif()
    list(APPEND defines "${line}")
  endforeach()
  set(${variable} "${defines}" PARENT_SCOPE)
endfunction()

# Puts the application's resource file beside <target>'s executable after each build.
function(wx_copy_app_resources target)
  add_dependencies(${target} wx_app_resources)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WX_APP_RESOURCE_FILE} $<TARGET_FILE_DIR:${target}>/Wendrix.rsrc
    VERBATIM)
endfunction()
