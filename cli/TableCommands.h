#pragma once

#include "CommandLine.h"

#include "ToolError.h"

namespace cli {

// Carries out one understood command line: reads and writes the files it
// names through rom::TableTools, prints results on standard output and
// failures on standard error, and returns the exit status.
class TableCommands {
public:
    [[nodiscard]] static int run(const CommandLine &line);

    // Prints "shop-table: PATH: reason" and returns kFailure.
    static int fail(const rom::ToolError &error);
    static int fail(const std::string &path, const std::string &reason);
    // Prints "shop-table: PATH: text" on standard error: a failure's reason,
    // or what a command that goes on wants the user to know.
    static void warn(const std::string &path, const std::string &text);
    // Writes text to standard output, or fails naming it.
    static int print(const std::string &text);

private:
    [[nodiscard]] static int exportTable(const CommandLine &line);
    [[nodiscard]] static int importTable(const CommandLine &line);
    [[nodiscard]] static int diffTables(const CommandLine &line);
    [[nodiscard]] static int makePatch(const CommandLine &line);
    [[nodiscard]] static int checksum(const CommandLine &line);
    [[nodiscard]] static int readItemNames(const CommandLine &line, rom::ItemNames &names);
};

} // namespace cli
