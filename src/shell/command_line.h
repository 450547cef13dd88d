// The process arguments as the one command line the game reads.
#pragma once
#include <cstddef>
#include <string>

// Far more than any option needs; what lies beyond is not joined, so a huge
// argument list neither costs memory nor time to read.
constexpr size_t MAX_COMMAND_LINE = 4096;

// The arguments after the program's name, joined by single spaces and cut
// after MAX_COMMAND_LINE characters.
std::string joinCommandLine(int argc, const char *const *argv);
