// The program's version, as replays name the program that recorded them.
#pragma once

constexpr const char *PROGRAM_VERSION = "2.0";
