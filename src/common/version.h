// The program's version, as --version prints it and replays name the program
// that recorded them. Both are written by the build (cmake/build_version.cmake):
// PROGRAM_VERSION is the project's version in CMakeLists.txt, BUILD_VERSION
// the build's own (git describe, or what the packager gave).
#pragma once

extern const char *const PROGRAM_VERSION;
extern const char *const BUILD_VERSION;
