# SPDX-License-Identifier: MIT
# What an install holds beside the game for a distribution (the copyright
# file with both licences and the changelog in share/doc/pelta), and the
# Debian package: `cpack -G DEB` in a Release build folder writes
# pelta_<version>_<arch>.deb with stripped programs (in /usr/games, as Debian
# keeps games) and the dependencies dpkg-shlibdeps reads from them.
set(PELTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pelta)

# A licence text as the body of a copyright-file paragraph: each line
# indented by one space, empty lines written as " .".
function(pelta_copyright_body text out)
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(body "")
  foreach(line IN LISTS lines)
    if(line STREQUAL "")
      string(APPEND body "\n .")
    else()
      string(APPEND body "\n ${line}")
    endif()
  endforeach()
  set(${out} "${body}" PARENT_SCOPE)
endfunction()

# The MIT text without its title and copyright line, the font's licence
# without its copyright lines (both are in the Copyright fields).
file(READ ${CMAKE_SOURCE_DIR}/LICENSE mit)
string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" mit "${mit}")
pelta_copyright_body("${mit}" PELTA_MIT_BODY)
file(READ ${CMAKE_SOURCE_DIR}/LICENSES/Bitstream-Vera.txt vera)
string(REGEX REPLACE "^Copyright[^\n]*\n[^\n]*\n\n" "" vera "${vera}")
pelta_copyright_body("${vera}" PELTA_VERA_BODY)
configure_file(${CMAKE_SOURCE_DIR}/dist/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)

# Compressed as Debian keeps them: gzip -9n (no name, no time stamp), so the
# same text gives the same bytes.
find_program(GZIP gzip REQUIRED)
set(PELTA_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${PELTA_CHANGELOG_GZ}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/dist/changelog > ${PELTA_CHANGELOG_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/dist/changelog VERBATIM)
set(PELTA_MAN_GZ "")
foreach(page pelta pelta-sim)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.6.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/dist/${page}.6 > ${CMAKE_BINARY_DIR}/man/${page}.6.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/${page}.6 VERBATIM)
  list(APPEND PELTA_MAN_GZ ${CMAKE_BINARY_DIR}/man/${page}.6.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${PELTA_CHANGELOG_GZ} ${PELTA_MAN_GZ})

install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${PELTA_CHANGELOG_GZ} DESTINATION ${PELTA_DOC_DIR})
install(FILES ${PELTA_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelta)
set(CPACK_PACKAGE_VENDOR "The Pelta developers")
set(CPACK_PACKAGE_CONTACT "${PELTA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/deb_games_dir.cmake)
# The font from the package that holds it on the build machine: linked, not
# copied, and that package a dependency (Debian keeps one copy of a font).
# A font no package holds (PELTA_FONT_FILE elsewhere) is copied in.
execute_process(COMMAND dpkg-query -S "${PELTA_FONT_PATH}" OUTPUT_VARIABLE font_owner
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE unowned)
if(NOT unowned AND font_owner MATCHES "^([a-z0-9.+-]+)(:[a-z0-9]+)?: ")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
  set(CPACK_PELTA_FONT_IN_PACKAGE "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/pelta/data/xf1.pta")
  get_filename_component(data_dir "${CPACK_PELTA_FONT_IN_PACKAGE}" DIRECTORY)
  file(RELATIVE_PATH CPACK_PELTA_FONT_LINK "${data_dir}" "${PELTA_FONT_PATH}")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "area-capture arcade game
Pelta 2.0 is a single-player area-capture arcade game. You are the white
square on a framed playfield: leave captured ground and you lay a track;
come back and the track, and every black region without a white enemy in
it, is yours. Capture more than 75% of the field to win a level, over 200
levels, with items, a saved game, a hall of fame and twenty tunes.")
include(CPack)
