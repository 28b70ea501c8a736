// shop-table: the shop table of an image outside the window, for build
// scripts. No Qt and no display: only the file layer.
#include "CommandLine.h"
#include "TableCommands.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const cli::CommandLine line = cli::CommandLine::parse(argc, argv);
    if (!line.understood()) {
        std::fprintf(stderr, "shop-table: %s\n%s\n", line.problem().c_str(), line.usageLine().c_str());
        return cli::kUsage;
    }
    return cli::TableCommands::run(line);
}
