// pelta-sim: replays the game screen from a seed and a key script.
#include "sim.h"
#include <iostream>

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return simMain(args, std::cin, std::cout, std::cerr);
}
