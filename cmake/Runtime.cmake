# What the runtime tree holds besides the programs and modules their own folders build and
# install: the resource file, the help pages of every language, the plug-in folder, and the
# desktop entry and icon of an installed tree.
file(MAKE_DIRECTORY ${WX_RUNTIME_DIR}/lib/wendrix/Plug-Ins ${WX_RUNTIME_DIR}/share/wendrix)

file(GLOB WX_HELP_PAGES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/resources/help
     ${CMAKE_SOURCE_DIR}/resources/help/*/index.html)
set(WX_HELP_FILES "")
foreach(page IN LISTS WX_HELP_PAGES)
  set(out ${WX_RUNTIME_DIR}/share/wendrix/help/${page})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/help/${page} ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/${page} VERBATIM)
  list(APPEND WX_HELP_FILES ${out})
endforeach()
add_custom_target(wx_help ALL DEPENDS ${WX_HELP_FILES})

install(FILES ${WX_APP_RESOURCE_FILE} DESTINATION share/wendrix)
install(DIRECTORY ${WX_RUNTIME_DIR}/share/wendrix/help DESTINATION share/wendrix)
install(DIRECTORY DESTINATION lib/wendrix/Plug-Ins)
# The desktop entry names the installed program by its full path, known only at install time
# (`cmake --install --prefix DIR`).
install(CODE "set(WX_BIN \"\${CMAKE_INSTALL_PREFIX}/bin\")
  configure_file(\"${CMAKE_SOURCE_DIR}/resources/desktop/wendrix.desktop.in\"
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/wendrix.desktop\" @ONLY)")
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/wendrix.png DESTINATION share/icons/hicolor/64x64/apps)
