// shop-table: the shop table of an image outside the window, for build
// scripts. No Qt and no display: only the file layer.
#include "CommandLine.h"
#include "ProgramArguments.h"
#include "TableCommands.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

int run(rom::ProgramArguments &arguments)
{
    const cli::CommandLine line = cli::CommandLine::parse(arguments.count(), arguments.values());
    if (!line.understood()) {
        std::fprintf(stderr, "shop-table: %s\n%s\n", line.problem().c_str(), line.usageLine().c_str());
        return cli::kUsage;
    }
    return cli::TableCommands::run(line);
}

} // namespace

#ifdef _WIN32
// The names come as UTF-16 and reach the files whole. What is printed is
// UTF-8 with bare line feeds, as on other systems: a CSV on standard output
// has the bytes of the one written with -o, and a console shows the names.
int wmain(int argc, wchar_t *argv[])
{
    rom::ProgramArguments arguments(argc, argv);
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
    const UINT consolePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(CP_UTF8);
    const int status = run(arguments);
    ::SetConsoleOutputCP(consolePage);
    return status;
}
#else
int main(int argc, char *argv[])
{
    rom::ProgramArguments arguments(argc, argv);
    return run(arguments);
}
#endif
