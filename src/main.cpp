// Process entry.
#include "shell/shell.h"

int main(int argc, char **argv) { return peltaMain(argc, argv); }
