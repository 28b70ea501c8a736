#include "NameOptions.h"

#include "SearchPattern.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace cli {

namespace {

constexpr std::string_view kAllCodes = "00-FE";

template <typename Value>
const rom::NameTableError *errorOf(const std::variant<Value, rom::NameTableError> &parsed)
{
    return std::get_if<rom::NameTableError>(&parsed);
}

} // namespace

bool NameOptions::read(const std::string &name, const std::string &argument, int &index, int argc,
                       const char *const *argv, std::string &problem)
{
    const auto found = std::find(std::begin(kOptions), std::end(kOptions), name);
    if (found == std::end(kOptions))
        return false;
    problem = m_options[found - std::begin(kOptions)].read(name, argument, index, argc, argv);
    return true;
}

std::string_view NameOptions::firstGiven() const
{
    const auto given = std::find_if(std::begin(m_options), std::end(m_options),
                                    [](const OptionValue &option) { return option.given(); });
    return given == std::end(m_options) ? std::string_view() : kOptions[given - std::begin(m_options)];
}

std::string NameOptions::checkNameTable()
{
    if (!m_options[kTable].given())
        return "names: give the table file with --table FILE.tbl";
    if (!m_options[kAt].given())
        return "names: give the address of the first entry with --at ADDRESS";
    if (!m_options[kLength].given())
        return "names: give the length of an entry with --length N";
    if (std::string problem = readNameTable(); !problem.empty())
        return problem;
    // Every problem but those of the image's size, which the command reports
    // later against the image itself.
    const auto problems = m_nameTable.problems(std::numeric_limits<std::uint64_t>::max());
    const auto found = std::find_if(problems.begin(), problems.end(), [](const rom::NameTableError &error) {
        return error.problem != rom::NameTableProblem::AddressPastEnd &&
               error.problem != rom::NameTableProblem::EntriesPastEnd;
    });
    return found == problems.end() ? std::string() : found->message();
}

std::string NameOptions::readNameTable()
{
    using rom::NameTableLayout;
    const OptionValue &skipOption = m_options[kSkip];
    const OptionValue &codesOption = m_options[kCodes];
    const auto address = NameTableLayout::parseAddress(m_options[kAt].value());
    const auto length = NameTableLayout::parseNumber(m_options[kLength].value(), rom::NameTableField::EntryLength);
    const auto skip = NameTableLayout::parseNumber(skipOption.given() ? skipOption.value() : "0", rom::NameTableField::Skip);
    const auto codes = NameTableLayout::parseCodes(codesOption.given() ? codesOption.value() : kAllCodes);
    for (const rom::NameTableError *error : {errorOf(address), errorOf(length), errorOf(skip), errorOf(codes)})
        if (error)
            return error->message();
    const auto [firstCode, lastCode] = std::get<std::pair<int, int>>(codes);
    m_nameTable = {.start = std::get<std::uint64_t>(address), .entryLength = std::get<int>(length),
                   .skip = std::get<int>(skip), .firstCode = firstCode, .lastCode = lastCode};
    return {};
}

std::string NameOptions::readKnownNames(const std::vector<std::string> &arguments)
{
    for (const std::string &argument : arguments) {
        const auto known = rom::KnownName::parse(argument);
        if (const auto *error = std::get_if<rom::SearchError>(&known))
            return "find-names: " + error->message();
        m_knownNames.push_back(std::get<rom::KnownName>(known));
    }
    const auto pattern = rom::SearchPattern::make(m_knownNames);
    const auto *error = std::get_if<rom::SearchError>(&pattern);
    return error ? "find-names: " + error->message() : std::string();
}

} // namespace cli
