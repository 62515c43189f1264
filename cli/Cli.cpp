#include "cli/Cli.h"

#include <iostream>

int runCli(int argc, char** argv) { return runCli(argc, argv, std::cout, std::cerr); }

int runCli(int, char**, std::ostream&, std::ostream&) { return 0; }
