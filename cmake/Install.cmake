# Installation: the program and its tools in bin/, the demo town and the help
# in share/quorvel/, a desktop entry and its icon in the desktop's folders.
# The installed program finds share/quorvel from its own folder (bin/../share),
# so the prefix may be anything; the folders are fixed for that reason.

install(TARGETS quorvel towngen RUNTIME DESTINATION bin)
# The OpenStreetMap importer and the route tool, when this tree has them.
if(TARGET osm2town)
  install(TARGETS osm2town townroute RUNTIME DESTINATION bin)
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

# The package's version is the one of the latest entry of its Debian
# changelog, "UPSTREAM-REVISION"; the program reports the upstream part.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog QUORVEL_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QUORVEL_CHANGELOG_TOP MATCHES "^quorvel \\(([0-9.]+)-([0-9]+)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line is not \"quorvel (VERSION-REVISION) ...\"")
endif()
set(QUORVEL_VERSION ${CMAKE_MATCH_1})
set(QUORVEL_PACKAGE_REVISION ${CMAKE_MATCH_2})
target_compile_definitions(quorvel PRIVATE QUORVEL_VERSION="${QUORVEL_VERSION}")

# What Debian asks of a package beside the program: the copyright file, the
# changelog compressed as dpkg would, a manual page for each program (made
# from its --help, which needs no display) and the AppStream metadata.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.quorvel.quorvel.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/quorvel)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME quorvel)
find_program(GZIP_PROGRAM gzip REQUIRED)
set(QUORVEL_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${QUORVEL_PACKAGING_OUT}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVEL_PACKAGING_OUT}
  COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${QUORVEL_PACKAGING_OUT}/changelog.Debian.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
set(QUORVEL_PACKAGING_FILES ${QUORVEL_PACKAGING_OUT}/changelog.Debian.gz)
install(FILES ${QUORVEL_PACKAGING_OUT}/changelog.Debian.gz DESTINATION share/doc/quorvel)

# Packages are made from plain builds: a sanitizer's report at exit would
# fail help2man, and so the build.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM AND NOT QUORVEL_SANITIZE AND NOT QUORVEL_FUZZ)
  foreach(tool quorvel towngen osm2town townroute)
    if(NOT TARGET ${tool})
      continue()
    endif()
    set(page ${QUORVEL_PACKAGING_OUT}/man/${tool}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVEL_PACKAGING_OUT}/man
      # Run by its name, as a user would, so that its usage line names it
      # without the build's path; the NAME line and SEE ALSO come from
      # packaging/man/. The Russian texts are UTF-8.
      COMMAND ${CMAKE_COMMAND} -E env "PATH=$<TARGET_FILE_DIR:${tool}>:/usr/bin:/bin"
        ${HELP2MAN_PROGRAM} --locale=C.UTF-8 --no-info --section=1 --version-string=${QUORVEL_VERSION}
        --include=${CMAKE_SOURCE_DIR}/packaging/man/${tool}.h2m --output=${page} ${tool}
      COMMAND ${GZIP_PROGRAM} -9nf ${page}
      DEPENDS ${tool} ${CMAKE_SOURCE_DIR}/packaging/man/${tool}.h2m
      COMMENT "Manual page of ${tool}"
      VERBATIM)
    list(APPEND QUORVEL_PACKAGING_FILES ${page}.gz)
    install(FILES ${page}.gz DESTINATION share/man/man1)
  endforeach()
elseif(NOT HELP2MAN_PROGRAM)
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()
add_custom_target(packaging_files ALL DEPENDS ${QUORVEL_PACKAGING_FILES})

# A Debian package: cpack -G DEB in the build folder. The libraries the
# binaries link are found by dpkg-shlibdeps; what is loaded at run time
# (Mesa's drivers for software rendering, a font with Cyrillic letters) is
# named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${QUORVEL_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUORVEL_PACKAGE_REVISION})
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT "Quorvel developers <quorvel-dev@quorvel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Town directory of organisations with a 3D map")
# Lines of at most 80 characters, as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION "An offline directory of the organisations of one town, built around an\n\
interactive 3D map of it. With a generated demo town, the town generator,\n\
the OpenStreetMap importer and the help.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, fonts-dejavu-core | fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
include(CPack)
