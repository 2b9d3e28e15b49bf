# Where an installed Orvane keeps its parts, laid out like other Linux desktop
# tools: the programs in bin/, the help documents the editor opens from
# ../share/orvane/help beside it, the desktop entry with its icon and the
# MIME types of the program files (so a double-click opens them in the
# editor), the udev rule that gives the user at the seat the device's
# USB link, and system services for the server and the bridge. With ORVANE_MANPAGES, a manual page per program made from its
# --help by help2man.
include(GNUInstallDirs)

set(ORVANE_APP_ID org.orvane.Orvane)
set(orvane_linux ${PROJECT_SOURCE_DIR}/resources/linux)

set(orvane_programs)
foreach(program orvane orvane-sim orvanectl orvane-bridge orvane-server)
  if(TARGET ${program})
    list(APPEND orvane_programs ${program})
  endif()
endforeach()
install(TARGETS ${orvane_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET orvane)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/help)
  install(FILES ${orvane_linux}/${ORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${orvane_linux}/${ORVANE_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${orvane_linux}/${ORVANE_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The sizes scripts/render-icons draws from the SVG, one folder each.
  file(GLOB sizes RELATIVE ${orvane_linux}/icons ${orvane_linux}/icons/*)
  foreach(size ${sizes})
    install(FILES ${orvane_linux}/icons/${size}/${ORVANE_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# udev reads lib/udev/rules.d under /usr and /usr/local; the uaccess tag must
# be set before the seat rules (73-seat-late) apply it.
install(FILES ${orvane_linux}/70-orvane.rules DESTINATION lib/udev/rules.d)

# The server and the bridge as system services, run by a user of their own.
foreach(service orvane-server orvane-bridge)
  if(TARGET ${service})
    configure_file(${orvane_linux}/${service}.service.in ${CMAKE_CURRENT_BINARY_DIR}/systemd/${service}.service
                   @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/systemd/${service}.service DESTINATION lib/systemd/system)
  endif()
endforeach()

option(ORVANE_MANPAGES "Make and install a manual page per program from its --help (needs help2man)" OFF)
if(ORVANE_MANPAGES)
  find_program(HELP2MAN help2man REQUIRED)
  set(orvane_summary_orvane "editor and remote control of the KVS7304 audio matrix processor")
  set(orvane_summary_orvane-sim "simulated KVS7304 audio matrix processor")
  set(orvane_summary_orvanectl "control and script a KVS7304 audio matrix processor")
  set(pages)
  foreach(program ${orvane_programs})
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
    set(summary "${orvane_summary_${program}}")
    if(NOT summary)
      set(summary "part of Orvane, the tools of the KVS7304 audio matrix processor")
    endif()
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --name=${summary} --output=${page}
              $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      VERBATIM)
    list(APPEND pages ${page}.gz)
  endforeach()
  add_custom_target(orvane_manpages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
