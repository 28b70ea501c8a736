#pragma once

#include "CommandLine.h"

namespace cli {

// The commands around the game's own item names: names reads a name table
// with a table file, find-names looks for one by relative search. Both only
// read the image; find-names writes the table file it learnt with -o.
class NameCommands {
public:
    [[nodiscard]] static int names(const CommandLine &line);
    [[nodiscard]] static int findNames(const CommandLine &line);
};

} // namespace cli
