# SPDX-License-Identifier: MIT
# The browser build: the game library and the page's backend compiled to
# WebAssembly, and the folder of static files a web server serves as it is
# (site/: index.html, page.js, pelta.js, pelta.wasm, pelta.data and the tune
# player from npm). The game data comes from a desktop build's generator:
# -DPELTA_WEB_DATA=<build>/data.
set(PELTA_WEB_DATA "" CACHE PATH "The generated game data (data/ of a desktop build)")
if(NOT EXISTS "${PELTA_WEB_DATA}/primitives.pta")
  message(FATAL_ERROR "PELTA_WEB_DATA must name a generated data folder (build/data)")
endif()
set(SITE ${CMAKE_BINARY_DIR}/site)

# stb's decoders, copied from the system's headers: the system folder itself
# must not be searched (its C library is not the one for WebAssembly).
foreach(header stb_image.h stb_truetype.h)
  if(NOT EXISTS /usr/include/stb/${header})
    message(FATAL_ERROR "/usr/include/stb/${header} is missing (Debian: libstb-dev)")
  endif()
  configure_file(/usr/include/stb/${header} ${CMAKE_BINARY_DIR}/stb/stb/${header} COPYONLY)
endforeach()

file(GLOB PLATFORM_SHARED_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
file(GLOB PLATFORM_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp)
add_library(platform_web STATIC ${PLATFORM_WEB_SOURCES} ${PLATFORM_SHARED_SOURCES})
target_include_directories(platform_web PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_include_directories(platform_web SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb)
# stb's own code is not held to the project's warnings.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/web/web_sprites.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/web/web_text.cpp PROPERTIES COMPILE_OPTIONS "-Wno-unused-function")

set(WEB_LINK_OPTIONS
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency']"
  "-sEXPORTED_FUNCTIONS=['_main','_peltaPageClosing']"
  --pre-js ${CMAKE_SOURCE_DIR}/web/pre.js)

add_executable(pelta ${CMAKE_SOURCE_DIR}/src/main.cpp)
target_link_libraries(pelta PRIVATE game_core platform_web)
set_target_properties(pelta PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${SITE})
target_link_options(pelta PRIVATE ${WEB_LINK_OPTIONS}
  "SHELL:--preload-file ${PELTA_WEB_DATA}@/pelta/data" "SHELL:--exclude-file tt.pta")
set_property(TARGET pelta APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/pre.js)

# Every screen from fixed states on the page's backend (the desktop's
# bench/pelta_screens): the pictures the browser test compares. ASYNCIFY
# lets its one long call of main give the page a turn between frames.
add_executable(pelta_screens ${CMAKE_SOURCE_DIR}/bench/screens_capture.cpp
               ${CMAKE_SOURCE_DIR}/tests/web/screens_yield.cpp)
target_link_libraries(pelta_screens PRIVATE game_core platform_web)
set_target_properties(pelta_screens PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/screens)
target_link_options(pelta_screens PRIVATE ${WEB_LINK_OPTIONS} -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  "SHELL:--preload-file ${PELTA_WEB_DATA}@/data" "SHELL:--exclude-file tt.pta")

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/screens/index.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/web/screens.html
          ${CMAKE_BINARY_DIR}/screens/index.html
  DEPENDS ${CMAKE_SOURCE_DIR}/web/screens.html)
# The yardstick of the frame cost: one full-screen picture a frame.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/minimal/index.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/web/minimal.html
          ${CMAKE_BINARY_DIR}/minimal/index.html
  DEPENDS ${CMAKE_SOURCE_DIR}/web/minimal.html)
add_custom_target(screens_page ALL DEPENDS ${CMAKE_BINARY_DIR}/screens/index.html
                  ${CMAKE_BINARY_DIR}/minimal/index.html)

# The page, and the tune player at the version package-lock.json pins.
set(PAGE_FILES index.html page.js)
set(SITE_FILES)
foreach(f ${PAGE_FILES})
  add_custom_command(OUTPUT ${SITE}/${f}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/web/${f} ${SITE}/${f}
    DEPENDS ${CMAKE_SOURCE_DIR}/web/${f})
  list(APPEND SITE_FILES ${SITE}/${f})
endforeach()
set(NPM_DIR ${CMAKE_BINARY_DIR}/npm)
set(TUNE_PLAYER chiptune3.js chiptune3.worklet.js libopenmpt.worklet.js LICENSE)
set(TUNE_PLAYER_OUTPUTS)
foreach(f ${TUNE_PLAYER})
  list(APPEND TUNE_PLAYER_OUTPUTS ${SITE}/chiptune3/${f})
endforeach()
find_program(NPM npm REQUIRED)
add_custom_command(OUTPUT ${TUNE_PLAYER_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${NPM_DIR} ${SITE}/chiptune3
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/package.json
          ${CMAKE_SOURCE_DIR}/web/package-lock.json ${NPM_DIR}
  COMMAND ${NPM} ci --prefix ${NPM_DIR} --no-audit --no-fund --loglevel=error
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${NPM_DIR}/node_modules/chiptune3 ${SITE}/chiptune3
  DEPENDS ${CMAKE_SOURCE_DIR}/web/package.json ${CMAKE_SOURCE_DIR}/web/package-lock.json
  COMMENT "The tune player (chiptune3, libopenmpt) from npm")
add_custom_target(site ALL DEPENDS ${SITE_FILES} ${TUNE_PLAYER_OUTPUTS})
add_dependencies(pelta site)
