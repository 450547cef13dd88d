# SPDX-License-Identifier: MIT
# Run by CPack on the staged .deb tree before it is packed, for what Debian
# asks of a game's package:
# - the programs of a package of section games are in /usr/games (lintian
#   reports anything else as an error); the game still finds its data from
#   there, in ../share/pelta/data beside the program;
# - programs carry no .comment section (as dh_strip leaves them);
# - the font (CPACK_PELTA_FONT_IN_PACKAGE) is the system's copy, linked
#   (CPACK_PELTA_FONT_LINK, relative), when a Debian package holds it; that
#   package is in Depends.
file(GLOB staged_programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
find_program(objcopy objcopy)
foreach(program IN LISTS staged_programs)
  get_filename_component(bin "${program}" DIRECTORY)
  get_filename_component(usr "${bin}" DIRECTORY)
  get_filename_component(name "${program}" NAME)
  if(objcopy)
    execute_process(COMMAND ${objcopy} --remove-section=.comment "${program}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(MAKE_DIRECTORY "${usr}/games")
  file(RENAME "${program}" "${usr}/games/${name}")
endforeach()
if(staged_programs)
  file(REMOVE_RECURSE "${bin}")
endif()
if(CPACK_PELTA_FONT_LINK)
  set(font "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PELTA_FONT_IN_PACKAGE}")
  file(REMOVE "${font}")
  file(CREATE_LINK "${CPACK_PELTA_FONT_LINK}" "${font}" SYMBOLIC)
endif()
