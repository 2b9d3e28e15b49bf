# Where a Windows installation keeps its parts, and the installer that puts
# them there (scripts/package-windows runs cpack -G NSIS). Everything lies in
# one folder, as Windows programs do: the programs themselves, the help
# documents in help\ (the editor looks for them there beside itself), the
# README and the licence. The NSIS installer has an uninstaller of its own,
# registered with Windows, and a Start-menu folder with the help documents
# and the editor when the build has it.

set(orvane_windows ${PROJECT_SOURCE_DIR}/resources/windows)

# Whichever programs this build defines; scripts/package-windows checks that
# the installer holds the four command-line programs.
set(orvane_programs)
foreach(program orvane orvanectl orvane-sim orvane-bridge orvane-server)
  if(TARGET ${program})
    list(APPEND orvane_programs ${program})
  endif()
endforeach()
install(TARGETS ${orvane_programs} RUNTIME DESTINATION .)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/ DESTINATION help)
# Notepad of older Windows shows a text file's lines only when they end in
# CR LF.
configure_file(${orvane_windows}/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/windows/README.txt @ONLY
               NEWLINE_STYLE WIN32)
configure_file(${orvane_windows}/LICENSE.txt ${CMAKE_CURRENT_BINARY_DIR}/windows/LICENSE.txt COPYONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/windows/README.txt ${CMAKE_CURRENT_BINARY_DIR}/windows/LICENSE.txt
        DESTINATION .)

# The editor needs the Qt libraries and plugins beside it; windeployqt, which
# comes with Qt's own tools, copies them (and the compiler's run-time
# libraries) into the installed folder.
if(TARGET orvane)
  find_program(ORVANE_WINDEPLOYQT windeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}"
                                                    "${QT6_INSTALL_PREFIX}/bin")
  if(NOT ORVANE_WINDEPLOYQT)
    message(FATAL_ERROR "windeployqt was not found next to Qt's tools (${QT6_INSTALL_PREFIX}/bin): the installed "
                        "editor would lack its Qt libraries. Install Qt's Windows tools or set ORVANE_WINDEPLOYQT.")
  endif()
  install(
    CODE "execute_process(COMMAND \"${ORVANE_WINDEPLOYQT}\" --no-translations --compiler-runtime
                                  \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:orvane>\"
                          COMMAND_ERROR_IS_FATAL ANY)")
endif()

set(CPACK_GENERATOR NSIS)
# The values below hold NSIS commands with quotes and $ signs: CPack must
# hand them on as they are.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME orvane-tools)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control and simulation of the KVS7304 audio matrix processor")
set(CPACK_PACKAGE_FILE_NAME orvane-tools-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/package)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Orvane)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Orvane)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/windows/LICENSE.txt)

# A 64-bit installer, so that it writes to the 64-bit program-files folder
# and registry view its programs belong to; Unicode, so that the folder may
# have any name. The Start-menu folder is named without the version, so that
# an update keeps it.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
!define MUI_STARTMENUPAGE_DEFAULTFOLDER Orvane")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Orvane ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Orvane ${PROJECT_VERSION}")
# Installing over an earlier version removes it first, so no file of the
# old version is left behind.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The installer's own option to add the folder to PATH is left off: it
# rewrites PATH through NSIS strings, which standard NSIS builds limit to
# 1024 characters, so a longer PATH would lose its end.
set(CPACK_NSIS_MODIFY_PATH OFF)
if(TARGET orvane)
  # The editor keeps program files in "MusicFile" of the folder it starts
  # in. From the Start menu that is the public documents folder, which every
  # user may write to, not the program's folder, which users may not.
  set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath "$DOCUMENTS"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Orvane.lnk" "$INSTDIR\orvane.exe"
  SetOutPath "$INSTDIR"]])
  set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Orvane.lnk"]])
endif()
set(CPACK_NSIS_MENU_LINKS
    help/J-HelpEN.html "Help KVS7304 (English)"
    help/J-HelpCHS.html "Help KVS7304 (Chinese)"
    help/S-HelpEN.html "Help KVS736 (English)"
    help/S-HelpCHS.html "Help KVS736 (Chinese)"
    README.txt "Read me")
include(CPack)
