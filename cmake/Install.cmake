# Installation: the program and its tools in bin/, the demo town and the help
# in share/quorvel/, a desktop entry and its icon in the desktop's folders.
# The installed program finds share/quorvel from its own folder (bin/../share),
# so the prefix may be anything; the folders are fixed for that reason.

install(TARGETS quorvel towngen RUNTIME DESTINATION bin)
# The OpenStreetMap importer, when this tree has it.
if(TARGET osm2town)
  install(TARGETS osm2town RUNTIME DESTINATION bin)
endif()

install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/data/ DESTINATION share/quorvel/data)
if(QUORVEL_HELP)
  install(FILES ${QUORVEL_HELP} DESTINATION share/quorvel)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/quorvel.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/quorvel.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/quorvel-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quorvel.png)
endforeach()

# A Debian package: cpack -G DEB in the build folder. The libraries the
# binaries link are found by dpkg-shlibdeps; what is loaded at run time
# (Mesa's drivers for software rendering, a font with Cyrillic letters) is
# named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT "Quorvel <quorvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Town directory of organisations with a 3D map")
set(CPACK_PACKAGE_DESCRIPTION "An offline directory of the organisations of one town, built around an \
interactive 3D map of it. With a generated demo town, the town generator and the help.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, fonts-dejavu-core | fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
include(CPack)
