# The Debian package of the installed programs (scripts/package runs cpack
# -G DEB on a Release build). Its dependencies are found by dpkg-shlibdeps
# from the libraries the programs link; the copyright and the Debian
# changelog go where Debian keeps them, the changelog compressed as lintian
# expects (gzip -9n).
set(ORVANE_PACKAGE_MAINTAINER "Orvane maintainers <maintainers@orvane.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(ORVANE_DEB_RELEASE 1)
set(ORVANE_DEB_VERSION ${PROJECT_VERSION}-${ORVANE_DEB_RELEASE})

set(orvane_debian ${PROJECT_SOURCE_DIR}/resources/linux/debian)
set(orvane_docdir ${CMAKE_INSTALL_DATADIR}/doc/orvane)
# SOURCE_DATE_EPOCH, when set, fixes the date for a reproducible package.
string(TIMESTAMP ORVANE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${orvane_debian}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian @ONLY)
set(orvane_changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${orvane_changelog}
  COMMAND sh -c "gzip -9n < changelog.Debian > changelog.Debian.gz"
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/debian
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian
  VERBATIM)
add_custom_target(orvane_debian_changelog ALL DEPENDS ${orvane_changelog})
install(FILES ${orvane_debian}/copyright ${orvane_changelog} DESTINATION ${orvane_docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and remote control of the KVS7304 audio matrix processor")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORVANE_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary in front as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvane edits every parameter of the KVS7304, an 8-input, 8-output digital
audio matrix processor, live over USB, RS-485 or the network: gains, the
matrix, equalisers with their curve, crossovers and dynamics. It manages the
device's 30 stored programs and keeps program files on the PC.

The package holds the editor (orvane), a simulated device (orvane-sim) and
command-line control for scripts (orvanectl), with a udev rule that gives
the user at the seat access to the device's USB link.")
include(CPack)
