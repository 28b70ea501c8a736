#include "CommandLine.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace cli {

namespace {

// Which options a command takes.
enum Options : unsigned {
    kNoOptions = 0,
    kOutputOption = 1,      // -o FILE, --output FILE, -o=FILE, --output=FILE
    kItemNamesOption = 2,   // --item-names FILE
    kFixOption = 4,         // --fix
    kNameTableOptions = 8,  // --table FILE, --at ADDRESS, --length N, --skip N, --codes HH-HH
    kCheckOption = 16,      // --check
    kQuietOption = 32,      // -q, --quiet
    kNoLabelsOption = 64,   // --no-labels
    kAddressesOption = 128, // --addresses
    kForceOption = 256,     // --force
};

// The options that take no value, and how they are written.
struct FlagForm {
    std::string_view name;
    std::string_view shortName; // empty if it has none
    Options option;
};

constexpr FlagForm kFlags[] = {
    {"--fix", "", kFixOption},
    {"--check", "", kCheckOption},
    {"--quiet", "-q", kQuietOption},
    {"--no-labels", "", kNoLabelsOption},
    {"--addresses", "", kAddressesOption},
    {"--force", "", kForceOption},
};

struct CommandForm {
    std::string_view name;
    Command command;
    std::size_t files;
    unsigned options;
    std::string_view synopsis; // for the usage line
    std::string_view help;     // its line in --help, synopsis and what it does
};

constexpr CommandForm kCommands[] = {
    {"export", Command::Export, 1, kOutputOption | kItemNamesOption | kNoLabelsOption | kAddressesOption,
     "export IMAGE [-o FILE.csv] [--item-names FILE] [--no-labels] [--addresses]",
     "export IMAGE [-o FILE.csv]  the table as CSV, to standard output or FILE.csv"},
    {"import", Command::Import, 2, kItemNamesOption | kForceOption | kQuietOption,
     "import IMAGE FILE.csv [--item-names FILE] [--force] [-q]",
     "import IMAGE FILE.csv       write the shops of FILE.csv that differ in IMAGE"},
    {"diff", Command::Diff, 2, kQuietOption, "diff IMAGE_A IMAGE_B [-q]",
     "diff IMAGE_A IMAGE_B        one line per shop that differs; exit 1 if any"},
    {"patch", Command::Patch, 2, kOutputOption | kQuietOption, "patch CLEAN MODIFIED -o OUT.ips|OUT.bps [-q]",
     "patch CLEAN MODIFIED -o OUT an IPS or BPS patch, as OUT ends in .ips or .bps"},
    {"checksum", Command::Checksum, 1, kFixOption | kCheckOption | kQuietOption, "checksum IMAGE [--fix | --check] [-q]",
     "checksum IMAGE [--fix]      the cartridge checksum: stored, computed, valid?"},
    {"names", Command::Names, 1, kNameTableOptions,
     "names IMAGE --table FILE.tbl --at ADDRESS --length N [--skip N] [--codes HH-HH]",
     "names IMAGE --table FILE.tbl --at ADDRESS --length N [--skip N]\n"
     "                              the names of a name table, as an item names file"},
    {"find-names", Command::FindNames, 1, kOutputOption | kQuietOption,
     "find-names IMAGE HH=NAME HH=NAME... [-o FILE.tbl] [-q]",
     "find-names IMAGE HH=NAME HH=NAME... [-o FILE.tbl]\n"
     "                              where 2 to 4 known names lie, by relative search"},
};

constexpr std::string_view kProgram = "shop-table";
constexpr std::string_view kIpsExtension = ".ips";
constexpr std::string_view kBpsExtension = ".bps";

const CommandForm *formOf(Command command)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [command](const CommandForm &form) { return form.command == command; });
    return found == std::end(kCommands) ? nullptr : &*found;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    return std::equal(end.begin(), end.end(), text.end() - std::ptrdiff_t(end.size()),
                      [](char want, char got) { return got == want || (want >= 'a' && want <= 'z' && got == want - 'a' + 'A'); });
}

} // namespace

CommandLine CommandLine::parse(int argc, const char *const *argv)
{
    CommandLine line;
    bool optionsEnded = false;
    for (int index = 1; index < argc && line.understood(); ++index) {
        const std::string argument = argv[index];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (!line.readOption(argument, index, argc, argv))
                return line;
        } else if (!line.m_commandKnown) {
            const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                            [&](const CommandForm &form) { return form.name == argument; });
            if (found == std::end(kCommands))
                line.refuse("unknown command '" + argument + "'");
            else
                line.m_command = found->command;
            line.m_commandKnown = true;
        } else {
            line.m_files.push_back(argument);
        }
    }
    if (line.understood())
        line.checkCommand();
    return line;
}

// False when the option ends the reading: --help, --version or a mistake.
bool CommandLine::readOption(const std::string &argument, int &index, int argc, const char *const *argv)
{
    if (argument == "--help" || argument == "-h" || argument == "--version") {
        m_command = argument == "--version" ? Command::Version : Command::Help;
        m_commandKnown = true;
        m_files.clear();
        return false;
    }
    const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags), [&](const FlagForm &form) {
        return argument == form.name || (!form.shortName.empty() && argument == form.shortName);
    });
    if (flag != std::end(kFlags)) {
        m_flags |= flag->option;
        return true;
    }
    const std::string name = argument.substr(0, argument.find('='));
    if (std::string problem; m_names.read(name, argument, index, argc, argv, problem)) {
        refuse(problem);
        return understood();
    }
    const bool output = name == "-o" || name == "--output";
    if (!output && name != "--item-names") {
        refuse("unknown option '" + argument + "'");
        return false;
    }
    refuse((output ? m_output : m_itemNames).read(name, argument, index, argc, argv));
    return understood();
}

void CommandLine::checkCommand()
{
    if (!m_commandKnown) {
        refuse("no command given");
        return;
    }
    const CommandForm *form = formOf(m_command);
    if (!form)
        return;
    const auto refuseOption = [&](unsigned option, bool given, std::string_view name) {
        if (given && !(form->options & option))
            refuse(std::string(form->name) + " takes no option " + std::string(name));
    };
    refuseOption(kOutputOption, m_output.given(), "-o");
    refuseOption(kItemNamesOption, m_itemNames.given(), "--item-names");
    for (const FlagForm &flag : kFlags)
        refuseOption(flag.option, has(flag.option), flag.name);
    refuseOption(kNameTableOptions, !m_names.firstGiven().empty(), m_names.firstGiven());
    if (!understood())
        return;
    if (m_command == Command::FindNames && !m_files.empty()) {
        refuse(m_names.readKnownNames({m_files.begin() + 1, m_files.end()}));
        m_files.resize(1);
        return;
    }
    if (m_files.size() < form->files)
        refuse(std::string(form->name) + ": a file name is missing");
    else if (m_files.size() > form->files)
        refuse(std::string(form->name) + ": one file name too many: '" + m_files[form->files] + "'");
    else if (m_command == Command::Patch && !m_output.given())
        refuse("patch: give the patch to write with -o OUT.ips or -o OUT.bps");
    else if (m_command == Command::Patch && !endsWithIgnoringCase(output(), kIpsExtension) &&
             !endsWithIgnoringCase(output(), kBpsExtension))
        refuse("patch: the name after -o must end in .ips or .bps, which tells the format");
    else if (m_command == Command::Names)
        refuse(m_names.checkNameTable());
    else if (has(kFixOption) && has(kCheckOption))
        refuse("checksum: --fix and --check do not go together (after --fix the checksum is valid)");
}

bool CommandLine::has(unsigned option) const { return (m_flags & option) != 0; }

bool CommandLine::fix() const { return has(kFixOption); }

bool CommandLine::check() const { return has(kCheckOption); }

bool CommandLine::quiet() const { return has(kQuietOption); }

bool CommandLine::labels() const { return !has(kNoLabelsOption); }

bool CommandLine::addresses() const { return has(kAddressesOption); }

bool CommandLine::force() const { return has(kForceOption); }

void CommandLine::refuse(std::string problem)
{
    if (m_problem.empty() && !problem.empty())
        m_problem = std::move(problem);
}

std::string CommandLine::usageLine() const
{
    const CommandForm *form = m_commandKnown ? formOf(m_command) : nullptr;
    if (form)
        return "usage: " + std::string(kProgram) + " " + std::string(form->synopsis);
    return "usage: " + std::string(kProgram) + " export|import|diff|patch|checksum|names|find-names ... (" + std::string(kProgram) +
           " --help tells more)";
}

rom::PatchFormat CommandLine::patchFormat() const
{
    return endsWithIgnoringCase(output(), kIpsExtension) ? rom::PatchFormat::Ips : rom::PatchFormat::Bps;
}

std::string CommandLine::helpText()
{
    std::string text = "Usage: " + std::string(kProgram) + " COMMAND ARGUMENTS...\n"
                       "Reads and writes the shop table of copier images of the game, for scripts.\n"
                       "Images are checked as the editor checks them and never created.\n\nCommands:\n";
    for (const CommandForm &form : kCommands)
        text.append("  ").append(form.help).append("\n");
    text += "  --help, --version           this text; the version\n\n"
            "Options:\n"
            "  -o FILE, --output FILE      the file to write, whole or not at all, never an\n"
            "                              image; also -o=FILE, --output=FILE\n"
            "  --item-names FILE           export: label the items with an item names file;\n"
            "                              import: the names to check the labels against\n"
            "  --no-labels                 export: no label columns, only the codes\n"
            "  --addresses                 export: two columns more, each shop's SNES address\n"
            "                              ($C4:7AC0) and its offset in the file (0x47CC0)\n"
            "  --force                     import: write even into a table that does not\n"
            "                              look like this game's\n"
            "  --fix                       checksum: write it if the stored one is not valid\n"
            "  --check                     checksum: exit 1 if it is not valid\n"
            "  -q, --quiet                 import, diff, patch, checksum, find-names: print\n"
            "                              nothing but failures and warnings; the exit status\n"
            "                              tells the outcome\n"
            "  --table FILE.tbl            names: the table file that reads the names\n"
            "  --at ADDRESS                names: the first entry, as an SNES address of the\n"
            "                              HiROM map ($D2B300, D2:B300) or a cartridge offset\n"
            "                              (0x12B300, the copier header not counted)\n"
            "  --length N, --skip N        names: bytes an entry has (1 to 64), and bytes\n"
            "                              before its name (an icon, say; 0 if not given)\n"
            "  --codes HH-HH               names: the codes the table covers (00-FE if not given)\n"
            "  --                          ends the options: a file name may start with '-'\n\n"
            "Output: import prints \"N shops changed in IMAGE: 3, 4 and 12\" (the first ten\n"
            "shops, then \"and N more\"), and on standard error a line for each label that\n"
            "names another code than the one beside it. It refuses an image whose table\n"
            "does not look like one (many type codes above 0x35, or hardly an empty slot)\n"
            "unless --force is given. A code of one digit (2 for 02) is refused.\n"
            "patch says on standard error when the images have the same contents, and when\n"
            "MODIFIED's checksum is not valid.\n"
            "diff prints the shop's nine bytes in A, then in B:\n"
            "\"shop 12: 01 2A FF FF FF FF FF FF FF -> 01 2B ...\".\n"
            "checksum prints \"stored checksum: 1A2B\", \"stored complement: E5D4\",\n"
            "\"computed checksum: 1A2B\" and \"valid\" or \"not valid\", one a line; with --fix,\n"
            "a last line \"fixed: ...\" when it wrote the checksum.\n"
            "names prints \"HH: Name\" for each code the table covers, which --item-names\n"
            "reads, and on standard error how many lines of the table file were skipped.\n"
            "find-names prints each place where the names fit, best first, with the first\n"
            "names read there; -o writes the table file learnt at the first place.\n\n"
            "Exit status: 0 done; 1 the work failed, with a message that names the file\n"
            "and the reason, or diff found shops that differ (0 when none do; a failure\n"
            "of diff prints a message as well), or checksum --check found it not valid;\n"
            "2 the command line cannot be understood.\n";
    return text;
}

} // namespace cli
