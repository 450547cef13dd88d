# SPDX-License-Identifier: MIT
# The font the game ships as data/xf1.pta: DejaVu Sans Mono. A path given
# with -DPELTA_FONT_FILE is taken as it is (a packager who names a file means
# it); otherwise fontconfig is asked for the font by name. fc-match answers
# every query with some font, so its answer counts only when the family is
# DejaVu Sans Mono. Without either, configuring stops with one line that says
# what to install.
set(PELTA_FONT_FILE "" CACHE FILEPATH "DejaVu Sans Mono (TrueType) to ship as data/xf1.pta (default: asked from fontconfig)")

function(pelta_find_font out)
  if(PELTA_FONT_FILE)
    if(NOT EXISTS "${PELTA_FONT_FILE}" OR IS_DIRECTORY "${PELTA_FONT_FILE}")
      message(FATAL_ERROR " PELTA_FONT_FILE=${PELTA_FONT_FILE}: no such font file")
    endif()
    set(${out} "${PELTA_FONT_FILE}" PARENT_SCOPE)
    return()
  endif()
  find_program(PELTA_FC_MATCH fc-match)
  if(PELTA_FC_MATCH)
    execute_process(COMMAND ${PELTA_FC_MATCH} -f "%{family}\n%{file}\n" "DejaVu Sans Mono:style=Book"
                    OUTPUT_VARIABLE answer ERROR_QUIET RESULT_VARIABLE failed)
    string(REPLACE "\n" ";" answer "${answer}")
    list(LENGTH answer lines)
    if(NOT failed AND lines GREATER_EQUAL 2)
      list(GET answer 0 families)
      list(GET answer 1 file)
      # The family may come as a comma-separated list of names.
      string(REPLACE "," ";" families "${families}")
      if("DejaVu Sans Mono" IN_LIST families AND EXISTS "${file}")
        set(${out} "${file}" PARENT_SCOPE)
        return()
      endif()
    endif()
  endif()
  # The leading space keeps CMake from wrapping the line.
  message(FATAL_ERROR " The font DejaVu Sans Mono was not found: install fonts-dejavu-core and "
                      "fontconfig, or give its file with -DPELTA_FONT_FILE=PATH")
endfunction()
