#include "ItemNames.h"

#include "HexDigits.h"
#include "TextLines.h"
#include "Utf8.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace rom {

namespace {

// Length of "HH: ", the code in front of the name in every label.
constexpr std::size_t kCodePrefixLength = 4;

struct Reading {
    std::array<std::string, ItemNames::kCount> labels;
    std::array<int, ItemNames::kCount> firstLine{}; // 0 until a line gives the code
};

bool isAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The code at the start of an entry, or -1: two hex digits, not the start of
// a longer word such as "123" or "2Ax".
int leadingCode(std::string_view entry)
{
    const std::optional<std::uint8_t> code = twoHexDigits(entry.substr(0, 2));
    if (!code || (entry.size() > 2 && isAsciiLetterOrDigit(entry[2])))
        return -1;
    return *code;
}

std::optional<NamesFileProblem> checkName(std::string_view name, int &length)
{
    // The whole line was checked to be UTF-8 and the name was cut at ASCII bytes.
    const std::u32string characters = decodeUtf8(name).value_or(std::u32string());
    length = int(characters.size());
    return ItemNames::nameProblem(characters);
}

// Reads the entry "HH: Name" (leading blanks removed) into reading.
std::optional<NamesFileError> readEntry(std::string_view entry, int line, Reading &reading)
{
    NamesFileError error{.line = line, .problem = NamesFileProblem::NoCode, .code = leadingCode(entry)};
    if (error.code < 0)
        return error;
    const std::string_view afterCode = trimmedBlanks(entry.substr(2));
    if (!afterCode.starts_with(':')) {
        error.problem = NamesFileProblem::NoColon;
        return error;
    }
    int &firstLine = reading.firstLine[std::size_t(error.code)];
    if (firstLine != 0) {
        error.problem = NamesFileProblem::RepeatedCode;
        error.firstLine = firstLine;
        return error;
    }
    const std::string_view name = trimmedBlanks(afterCode.substr(1));
    if (const auto problem = checkName(name, error.nameLength)) {
        error.problem = *problem;
        return error;
    }
    firstLine = line;
    std::string &label = reading.labels[std::size_t(error.code)];
    label = label.substr(0, kCodePrefixLength).append(name);
    return std::nullopt;
}

std::optional<NamesFileError> readLine(std::string_view line, int number, Reading &reading)
{
    if (!decodeUtf8(line))
        return NamesFileError{.line = number, .problem = NamesFileProblem::NotUtf8};
    const std::string_view content = trimmedBlanks(line);
    if (content.empty() || content.starts_with('#'))
        return std::nullopt;
    return readEntry(content, number, reading);
}

} // namespace

ItemNames::ItemNames(std::shared_ptr<const Labels> labels)
    : m_labels(std::move(labels))
{
}

std::variant<ItemNames, NamesFileError> ItemNames::parse(std::string_view bytes)
{
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    Reading reading;
    for (int code = 0; code < kCount; ++code)
        reading.labels[std::size_t(code)] = std::string(ItemLabels::label(code));
    for (int line = 1; !bytes.empty(); ++line) {
        if (auto error = readLine(takeLine(bytes), line, reading))
            return *error;
    }
    return ItemNames(std::make_shared<const Labels>(std::move(reading.labels)));
}

std::optional<NamesFileProblem> ItemNames::nameProblem(std::u32string_view name)
{
    if (name.empty())
        return NamesFileProblem::EmptyName;
    if (name.size() > std::size_t(kMaxNameLength))
        return NamesFileProblem::NameTooLong;
    if (std::ranges::any_of(name, isControlCharacter))
        return NamesFileProblem::ControlCharacter;
    return std::nullopt;
}

std::string_view ItemNames::label(int code) const
{
    return m_labels ? std::string_view(m_labels->at(std::size_t(code))) : ItemLabels::label(code);
}

std::string_view ItemNames::name(int code) const
{
    return label(code).substr(kCodePrefixLength);
}

std::string ItemNames::toText() const
{
    std::string text;
    for (int code = 0; code < kCount; ++code)
        text.append(label(code)).push_back('\n');
    return text;
}

bool operator==(const ItemNames &a, const ItemNames &b)
{
    for (int code = 0; code < ItemNames::kCount; ++code) {
        if (a.label(code) != b.label(code))
            return false;
    }
    return true;
}

} // namespace rom
