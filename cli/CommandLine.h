#pragma once

#include "NameOptions.h"
#include "OptionValue.h"
#include "TableTools.h"

#include <string>
#include <vector>

namespace cli {

// The program's exit status.
enum ExitStatus {
    kSuccess = 0,
    kFailure = 1, // the work failed (a message names the file), or diff found shops that differ
    kUsage = 2,   // the command line cannot be understood
};

enum class Command {
    Help,
    Version,
    Export,
    Import,
    Diff,
    Patch,
    Checksum,
    Names,
    FindNames,
};

// What the command line asks for, or why it cannot be understood. File
// names are kept as the bytes given.
class CommandLine {
public:
    [[nodiscard]] static CommandLine parse(int argc, const char *const *argv);

    [[nodiscard]] bool understood() const { return m_problem.empty(); }
    // What is wrong, and the usage line of the command (or of the program).
    [[nodiscard]] const std::string &problem() const { return m_problem; }
    [[nodiscard]] std::string usageLine() const;

    [[nodiscard]] Command command() const { return m_command; }
    // The files named, in order: one or two, as the command takes.
    [[nodiscard]] const std::vector<std::string> &files() const { return m_files; }
    [[nodiscard]] const std::string &output() const { return m_output.value(); } // -o; empty when not given
    [[nodiscard]] const std::string &itemNames() const { return m_itemNames.value(); }
    [[nodiscard]] bool fix() const;   // checksum --fix
    [[nodiscard]] bool check() const; // checksum --check: exit 1 when not valid
    // -q, --quiet: nothing on standard output, and no notes on standard error;
    // failures, and warnings that an input looks wrong, are still printed.
    [[nodiscard]] bool quiet() const;
    [[nodiscard]] bool labels() const;    // export: false for --no-labels
    [[nodiscard]] bool addresses() const; // export --addresses
    [[nodiscard]] bool force() const;     // import --force: also into a table that does not look like one
    // patch: the format that the output's extension names.
    [[nodiscard]] rom::PatchFormat patchFormat() const;
    // names: the table file (--table) and where the table lies (--at,
    // --length, --skip, --codes), checked but for the image's size.
    [[nodiscard]] const std::string &tableFile() const { return m_names.tableFile(); }
    [[nodiscard]] const rom::NameTableLayout &nameTable() const { return m_names.nameTable(); }
    // find-names: the names after the image, checked as the search checks them.
    [[nodiscard]] const std::vector<rom::KnownName> &knownNames() const { return m_names.knownNames(); }

    // Every command with its arguments and what it does, and the exit codes.
    [[nodiscard]] static std::string helpText();

private:
    bool readOption(const std::string &argument, int &index, int argc, const char *const *argv);
    void checkCommand();
    void refuse(std::string problem);
    [[nodiscard]] bool has(unsigned option) const;

    Command m_command = Command::Help;
    bool m_commandKnown = false;
    std::vector<std::string> m_files;
    OptionValue m_output{"a file name"};
    OptionValue m_itemNames{"a file name"};
    unsigned m_flags = 0; // the options without a value given, as Options bits
    NameOptions m_names; // of names and find-names
    std::string m_problem;
};

} // namespace cli
