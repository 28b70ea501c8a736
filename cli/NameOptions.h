#pragma once

#include "KnownName.h"
#include "NameTableLayout.h"
#include "OptionValue.h"

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What names and find-names take besides the image: the table file and
// the name table's place (--table, --at, --length, --skip, --codes), and
// the known names. Each check returns what is wrong, or an empty string.
class NameOptions {
public:
    // Reads one of the options with the value after it or after '=';
    // false for any other option. A mistake sets problem.
    [[nodiscard]] bool read(const std::string &name, const std::string &argument, int &index, int argc,
                            const char *const *argv, std::string &problem);
    // The first of the options given, for a command that takes none; empty if none was.
    [[nodiscard]] std::string_view firstGiven() const;

    // names: the options given in full and making sense, but for the image's size.
    [[nodiscard]] std::string checkNameTable();
    // find-names: reads the known names, as the search checks them.
    [[nodiscard]] std::string readKnownNames(const std::vector<std::string> &arguments);

    [[nodiscard]] const std::string &tableFile() const { return m_options[kTable].value(); }
    [[nodiscard]] const rom::NameTableLayout &nameTable() const { return m_nameTable; }
    [[nodiscard]] const std::vector<rom::KnownName> &knownNames() const { return m_knownNames; }

private:
    static constexpr std::string_view kOptions[] = {"--table", "--at", "--length", "--skip", "--codes"};
    // Where each option is in kOptions and m_options.
    enum Option : std::size_t {
        kTable,
        kAt,
        kLength,
        kSkip,
        kCodes,
    };

    [[nodiscard]] std::string readNameTable();

    OptionValue m_options[std::size(kOptions)];
    rom::NameTableLayout m_nameTable;
    std::vector<rom::KnownName> m_knownNames;
};

} // namespace cli
