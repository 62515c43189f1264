#include <iostream>

#include "cli/Cli.h"
#include "model/FileSystem.h"

int main(int argc, char** argv)
{
    prepareConsole();
    std::vector<std::string> args = utf8Arguments(argc, argv);
    if (!args.empty()) args.erase(args.begin());
    return runCli(args, std::cout, std::cerr);
}
