# The Debian package, made by `cpack -G DEB` in a build configured with the
# "package" preset (prefix /usr, so the code-value file goes to /etc/kvadrel).
include(GNUInstallDirs)
set(KVADREL_MAINTAINER "kvadrel developers <kvadrel@example.org>" CACHE STRING
  "The package's maintainer: name <address>")
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/kvadrel")
set(packaging "${PROJECT_BINARY_DIR}/packaging")

configure_file(packaging/changelog.in "${packaging}/changelog" @ONLY)
add_custom_command(OUTPUT "${packaging}/changelog.gz"
  COMMAND gzip -9 -n -f -k changelog
  DEPENDS "${packaging}/changelog" WORKING_DIRECTORY "${packaging}" VERBATIM)
add_custom_target(package_changelog ALL DEPENDS "${packaging}/changelog.gz")
install(FILES packaging/copyright "${packaging}/changelog.gz" DESTINATION ${doc_dir})

# The code-value file is the administrator's to edit: an upgrade keeps the edits.
file(WRITE "${packaging}/conffiles" "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kvadrel/kvadrel.INI\n")

set(CPACK_PACKAGE_NAME kvadrel)
set(CPACK_PACKAGE_VENDOR "kvadrel developers")
set(CPACK_PACKAGE_CONTACT "${KVADREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Regional update files, in the numbered-code format or the scrambled
fixed-column Moscow-region format (both DOS-866 text), are taken from
their source folders, turned into one dBASE table each and deleted.
The package has the converter's window (in Russian), kvadrel-batch with a
systemd user unit to run it unattended, and kvadrel-dump to print tables.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; Qt loads the
# window icon's SVG through a plugin that no program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${packaging}/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
