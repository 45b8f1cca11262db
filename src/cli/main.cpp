// roadflux-cli: the headless runner.

#include "cli/RoadfluxCli.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[])
{
    const bool interactive = isatty(STDIN_FILENO) != 0;
    RoadfluxCli cli(std::cout, std::cerr, interactive ? &std::cin : nullptr, isatty(STDERR_FILENO) != 0);
    return cli.run(argc, argv);
}
