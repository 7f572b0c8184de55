# Manual pages, software-centre metadata, the Debian documentation files and the .deb that `make package`
# builds with CPack. Included from the top-level CMakeLists.txt after src/, whose programs it describes.

find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

set(TULVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TULVANE_MAN_DIR ${PROJECT_BINARY_DIR}/man)

# gzip -9n: the best compression, and no name or time stamp in the header, so the same input gives the
# same bytes.
function(tulvane_gzip_command output)
  get_filename_component(stem ${output} NAME_WLE)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output} APPEND
    COMMAND ${GZIP} -9nf ${dir}/${stem})
endfunction()

# The pages carry the date of the release in the changelog, not of the build.
execute_process(COMMAND dpkg-parsechangelog -l ${TULVANE_PACKAGING_DIR}/changelog -S Timestamp
  OUTPUT_VARIABLE TULVANE_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TULVANE_PACKAGING_DIR}/changelog)

set(TULVANE_MAN_NAME_tulvane "simulate two bodies orbiting under Newtonian gravity")
set(TULVANE_MAN_NAME_tulvane-trace "print the plot points of a two-body run as CSV")

# The manual pages come from the programs' own --help and --version, with the sections those lack from an
# include file; they are rebuilt whenever a program or its include file changes. The program's --help
# follows the user's language: the pages are written in English whatever the builder's is.
foreach(program tulvane tulvane-trace)
  set(page ${TULVANE_MAN_DIR}/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TULVANE_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=${TULVANE_RELEASE_EPOCH}
      ${HELP2MAN} --no-info --section=1 --name=${TULVANE_MAN_NAME_${program}}
      --include=${TULVANE_PACKAGING_DIR}/${program}.h2m --output=${page} $<TARGET_FILE:${program}>
    DEPENDS ${program} ${TULVANE_PACKAGING_DIR}/${program}.h2m
    COMMENT "Writing the manual page ${program}(1)"
    VERBATIM)
  tulvane_gzip_command(${page}.gz)
  list(APPEND TULVANE_MAN_PAGES ${page}.gz)
endforeach()

set(TULVANE_CHANGELOG ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${TULVANE_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND ${CMAKE_COMMAND} -E copy ${TULVANE_PACKAGING_DIR}/changelog ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${TULVANE_PACKAGING_DIR}/changelog
  VERBATIM)
tulvane_gzip_command(${TULVANE_CHANGELOG})

add_custom_target(tulvane_docs ALL DEPENDS ${TULVANE_MAN_PAGES} ${TULVANE_CHANGELOG})

install(FILES ${TULVANE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TULVANE_PACKAGING_DIR}/${TULVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Settings files as a type of their own, so that file managers open them with the program; the system's
# shared-mime-info trigger rebuilds its database when the package is installed or removed.
install(FILES ${TULVANE_PACKAGING_DIR}/tulvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# lintian reads this file under the package's name; each override says why.
install(FILES ${TULVANE_PACKAGING_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME tulvane)
# Loaded by bash-completion when a command line starts with the program's name.
install(FILES ${TULVANE_PACKAGING_DIR}/completions/tulvane ${TULVANE_PACKAGING_DIR}/completions/tulvane-trace
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${TULVANE_PACKAGING_DIR}/copyright ${TULVANE_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tulvane)

# cpack installs only what is built: `make package` builds the programs and their pages, not the tests and
# benchmarks, and the packaging tests never start a build of their own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tulvane)
set(CPACK_PACKAGE_VENDOR "The Tulvane developers")
set(CPACK_PACKAGE_CONTACT "The Tulvane developers <developers@tulvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-body orbit simulator")
# The extended description; the empty line separates its paragraphs.
set(CPACK_PACKAGE_DESCRIPTION [[
Tulvane simulates two point masses moving in a plane under their mutual
Newtonian gravity and traces both orbits on a plot, with a control panel
to run, pause, zoom and re-centre. Each body's start position, mass, speed
and direction can be set; settings are kept, with labels, in settings files.
The arithmetic uses 80-bit extended precision and is exactly repeatable.

The package also holds tulvane-trace, which computes the points of a run
without a window and prints them as CSV, and the help pages.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, so the libraries' scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own catalogues, loaded at run time too, put its buttons and dialogs in the user's language; without
# them those stay English and the program works all the same.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
