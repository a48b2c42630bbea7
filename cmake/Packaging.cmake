# Installation of the command-line tool, when it is built, and the Debian
# package made with CPack's DEB generator (scripts/package.sh).
if(TARGET qd3ctl)
  install(TARGETS qd3ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Debian wants a compressed changelog beside the copyright file; -n keeps the
# compressed bytes free of time stamps.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog
  @ONLY)
set(QD3_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${QD3_CHANGELOG_GZ}
  COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/packaging/changelog > ${QD3_CHANGELOG_GZ}
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
  COMMENT "Compressing the changelog")
add_custom_target(qd3_changelog ALL DEPENDS ${QD3_CHANGELOG_GZ})
install(FILES ${QD3_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qd3control)
set(CPACK_PACKAGE_VENDOR "The QD3Control developers")
set(CPACK_PACKAGE_CONTACT "The QD3Control developers <qd3control@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and librarian for the QD3 amp-simulation pedal")
set(CPACK_PACKAGE_DESCRIPTION
  "QD3Control edits a QD3 pedal live over its USB-MIDI ports: its sounds, its
128 presets (kept in a local cache), preset and bank files, cabinet impulse
responses made from WAV files, global settings and MIDI maps, factory presets
and firmware.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qd3control.github.io/")
# The run-time libraries come from what the binaries link, as dpkg-shlibdeps
# finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Suggested, not needed: JACK for low-latency MIDI, a PDF viewer for the manual.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian's directories are 0755 root:root whatever the build folder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
