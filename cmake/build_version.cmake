# Writes OUTPUT defining PROGRAM_VERSION (VERSION, from project() in
# CMakeLists.txt) and BUILD_VERSION: PELTA_BUILD_VERSION when a packager gives
# one, else `git describe` when SOURCE_DIR is itself the top of a git work
# tree, else VERSION. A source folder inside some other repository (a
# packaging repository, a tarball unpacked in one) would describe that one.
# The file is rewritten only when the text changes, so a build without
# changes compiles nothing again.
set(version "${PELTA_BUILD_VERSION}")
if(NOT version)
  execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --show-toplevel
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  file(REAL_PATH "${SOURCE_DIR}" source)
  if(NOT failed AND top)
    file(REAL_PATH "${top}" top)
  endif()
  if(NOT failed AND top STREQUAL source)
    execute_process(COMMAND git -C "${SOURCE_DIR}" describe --always --dirty
                    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET RESULT_VARIABLE failed)
  endif()
  if(failed OR NOT version)
    set(version "${VERSION}")
  endif()
endif()
string(REPLACE "\\" "\\\\" version "${version}")
string(REPLACE "\"" "\\\"" version "${version}")
set(text "// Written by the build (cmake/build_version.cmake).\n#include \"common/version.h\"\nconst char *const PROGRAM_VERSION = \"${VERSION}\";\nconst char *const BUILD_VERSION = \"${version}\";\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
