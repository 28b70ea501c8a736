#pragma once

#include <algorithm>
#include <string_view>

// Reading the line-based text files of the user's (item names files, table
// files) a line at a time.
namespace rom {

// A UTF-8 byte-order mark, which some editors put at the start of a file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kBlanks = " \t";

// text without the blanks (spaces and tabs) at either end.
[[nodiscard]] constexpr std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Removes the first line from text and returns it without its LF or CRLF.
[[nodiscard]] constexpr std::string_view takeLine(std::string_view &text)
{
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace rom
