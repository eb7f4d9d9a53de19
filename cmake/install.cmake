# What `cmake --install` puts where (GNU directories below the prefix):
#   bin/kelpo-widget
#   libexec/kelpo-widget-desktop  the desktop host, which the command starts
#   share/kelpo-widget/        mascot pictures, phrase tables, the display font
#                              and its licence: the command finds them from its
#                              own location, so any prefix or staging tree works
#   share/applications/        the menu entry
#   share/icons/hicolor/       the entry's icon (the awake mascot)
#   share/man/man1/            kelpo-widget(1)
#   share/doc/kelpo-widget/    copyright (the font's licence among it)
#   etc/xdg/autostart/         starts `kelpo-widget desktop` at login; /etc when
#                              the prefix is /usr, as a system package installs
include(GNUInstallDirs)

set(kelpo_share_dir "${CMAKE_INSTALL_DATADIR}/kelpo-widget")
set(kelpo_font_file "${CMAKE_SOURCE_DIR}/resources/fonts/BricolageGrotesque_800ExtraBold.ttf")
set(kelpo_font_licence "${CMAKE_SOURCE_DIR}/resources/fonts/OFL.txt")

# The command looks for its resources this way from the directory it is in.
file(RELATIVE_PATH kelpo_resources_from_binary "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/kelpo-widget")
file(RELATIVE_PATH kelpo_resources_from_host "${CMAKE_INSTALL_FULL_LIBEXECDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/kelpo-widget")
target_compile_definitions(kelpo_base
                           PRIVATE KELPO_INSTALLED_RESOURCES_FROM_BINARY="${kelpo_resources_from_binary}"
                                   KELPO_INSTALLED_RESOURCES_FROM_HOST="${kelpo_resources_from_host}")
# And the command finds the desktop host this way.
file(RELATIVE_PATH kelpo_host_from_binary "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_LIBEXECDIR}/kelpo-widget-desktop")
target_compile_definitions(kelpo-widget PRIVATE KELPO_INSTALLED_HOST_FROM_BINARY="${kelpo_host_from_binary}")

# The desktop entries and the manual page come from the command itself, from
# the same texts as the widget's declaration and --help.
set(kelpo_generated "${CMAKE_BINARY_DIR}/generated")
file(GLOB kelpo_phrase_tables CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/phrases/*.po")
set(kelpo_generate ${CMAKE_COMMAND} -E env "KELPO_RESOURCE_DIR=${KELPO_RESOURCE_DIR}"
                   $<TARGET_FILE:kelpo-widget> generate)
add_custom_command(
  OUTPUT "${kelpo_generated}/applications/kelpo-widget.desktop"
         "${kelpo_generated}/autostart/kelpo-widget.desktop" "${kelpo_generated}/kelpo-widget.1"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${kelpo_generated}/applications"
          "${kelpo_generated}/autostart"
  COMMAND ${kelpo_generate} application-entry
          --output "${kelpo_generated}/applications/kelpo-widget.desktop"
  COMMAND ${kelpo_generate} autostart-entry
          --output "${kelpo_generated}/autostart/kelpo-widget.desktop"
  COMMAND ${kelpo_generate} man-page --output "${kelpo_generated}/kelpo-widget.1"
  DEPENDS kelpo-widget ${kelpo_phrase_tables}
  COMMENT "Writing the desktop entries and the manual page"
  VERBATIM)
add_custom_command(
  OUTPUT "${kelpo_generated}/copyright"
  COMMAND ${CMAKE_COMMAND} "-DLICENCE=${kelpo_font_licence}"
          "-DOUTPUT=${kelpo_generated}/copyright" -P "${CMAKE_SOURCE_DIR}/cmake/copyright.cmake"
  DEPENDS "${CMAKE_SOURCE_DIR}/cmake/copyright.cmake"
  COMMENT "Writing the copyright file"
  VERBATIM)
# Debian wants the manual page and the changelog compressed, without a time
# stamp so that two builds give the same files.
foreach(compressed "kelpo-widget.1" "changelog")
  if(compressed STREQUAL "changelog")
    set(uncompressed "${CMAKE_SOURCE_DIR}/cmake/changelog")
  else()
    set(uncompressed "${kelpo_generated}/${compressed}")
  endif()
  add_custom_command(
    OUTPUT "${kelpo_generated}/${compressed}.gz"
    COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" gzip "${uncompressed}"
            "${kelpo_generated}/${compressed}.gz"
    DEPENDS "${uncompressed}"
    VERBATIM)
endforeach()
add_custom_target(kelpo_install_files ALL
  DEPENDS "${kelpo_generated}/applications/kelpo-widget.desktop"
          "${kelpo_generated}/autostart/kelpo-widget.desktop" "${kelpo_generated}/kelpo-widget.1.gz"
          "${kelpo_generated}/changelog.gz" "${kelpo_generated}/copyright")

install(TARGETS kelpo-widget RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(TARGETS kelpo-widget-desktop RUNTIME DESTINATION "${CMAKE_INSTALL_LIBEXECDIR}")
install(FILES "${CMAKE_SOURCE_DIR}/resources/mascot/mascot-found.png"
              "${CMAKE_SOURCE_DIR}/resources/mascot/mascot-resting.png"
        DESTINATION "${kelpo_share_dir}/mascot")
install(FILES ${kelpo_phrase_tables} DESTINATION "${kelpo_share_dir}/phrases")
install(FILES "${kelpo_font_file}" "${kelpo_font_licence}" DESTINATION "${kelpo_share_dir}/fonts")
install(FILES "${kelpo_generated}/applications/kelpo-widget.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/resources/mascot/mascot-found.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps" RENAME kelpo-widget.png)
install(FILES "${kelpo_generated}/kelpo-widget.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${kelpo_generated}/copyright" "${kelpo_generated}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(FILES "${CMAKE_SOURCE_DIR}/cmake/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME kelpo-widget)

# The autostart entry's directory depends on the prefix given at install
# time (cmake --install --prefix, or the package's /usr), so it is chosen
# then: below the prefix as usual, but /etc for /usr, where sessions look.
install(CODE "
  set(kelpo_sysconf \"${CMAKE_INSTALL_SYSCONFDIR}\")
  if(NOT IS_ABSOLUTE \"\${kelpo_sysconf}\")
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
      set(kelpo_sysconf \"/\${kelpo_sysconf}\")
    else()
      set(kelpo_sysconf \"\${CMAKE_INSTALL_PREFIX}/\${kelpo_sysconf}\")
    endif()
  endif()
  file(INSTALL DESTINATION \"\${kelpo_sysconf}/xdg/autostart\" TYPE FILE
       FILES \"${kelpo_generated}/autostart/kelpo-widget.desktop\")
")

