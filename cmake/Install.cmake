# Install rules and the Debian package. Everything the browser reads at run
# time (pages, markup, texts) is in the binary's own resources; what goes next
# to it here is only what the desktop reads: the entry, the icons, the
# metainfo and the man page.
include(GNUInstallDirs)

install(TARGETS tolvane-browser RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/org.tolvane.Browser.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.tolvane.Browser.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/org.tolvane.Browser.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 128 256)
  install(FILES data/icons/${size}/org.tolvane.Browser.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants man pages compressed.
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/tolvane-browser.1.gz
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/data/tolvane-browser.1 > ${CMAKE_BINARY_DIR}/tolvane-browser.1.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/tolvane-browser.1)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/data/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/changelog)
add_custom_target(compressed_docs ALL
  DEPENDS ${CMAKE_BINARY_DIR}/tolvane-browser.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/tolvane-browser.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane-browser)

# `make uninstall`: removes what the last install wrote, by its manifest.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake)

# --- The Debian package (`make deb`) ----------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane-browser)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tolvane developers <browser@tolvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tabbed web browser on GTK 4 and WebKitGTK")
set(CPACK_PACKAGE_DESCRIPTION
    "Tolvane Browser opens the web in up to twenty tabs, private ones too,\nkeeps a history and favorites, and brings back the open tabs at the next\nstart.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tolvane.org/browser/)
# Dependencies come from the libraries the binary links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
# Directories the system already owns are not the package's to own.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
