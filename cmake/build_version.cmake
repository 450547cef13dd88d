# Writes OUTPUT defining BUILD_VERSION: PELTA_BUILD_VERSION when a packager
# gives one, else `git describe` of SOURCE_DIR, else FALLBACK. The file is
# rewritten only when the text changes, so a build without changes compiles
# nothing again.
set(version "${PELTA_BUILD_VERSION}")
if(NOT version)
  execute_process(COMMAND git -C "${SOURCE_DIR}" describe --always --dirty
                  OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR NOT version)
    set(version "${FALLBACK}")
  endif()
endif()
string(REPLACE "\\" "\\\\" version "${version}")
string(REPLACE "\"" "\\\"" version "${version}")
set(text "// Written by the build (cmake/build_version.cmake).\nextern const char *const BUILD_VERSION;\nconst char *const BUILD_VERSION = \"${version}\";\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
