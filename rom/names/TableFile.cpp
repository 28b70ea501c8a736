#include "TableFile.h"

#include "HexDigits.h"
#include "TextLines.h"
#include "Utf8.h"

#include <algorithm>
#include <utility>

namespace rom {

namespace {

// The text of an entry that stands for a line break.
constexpr std::string_view kLineBreakText = "\\n";

constexpr std::string_view kSkippedNames[TableFile::kSkippedKinds][2] = {
    {"control code ($HH=...)", "control codes ($HH=...)"},
    {"mark (!HH, @HH, ^HH)", "marks (!HH, @HH, ^HH)"},
    {"bookmark ((HHHHh)Title)", "bookmarks ((HHHHh)Title)"},
    {"table switch", "table switches"},
};

bool isHex(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return hexDigitValue(c) >= 0; });
}

std::string hexText(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes)
        appendHexByte(text, byte);
    return text;
}

// "(8000h)Title" and "(8000h-80FFh)Title": addresses in parentheses, then a title.
bool isBookmark(std::string_view line)
{
    const std::size_t close = line.find(')');
    if (!line.starts_with('(') || close == std::string_view::npos || close < 2)
        return false;
    const std::string_view inside = line.substr(1, close - 1);
    return std::all_of(inside.begin(), inside.end(),
                       [](char c) { return hexDigitValue(c) >= 0 || c == 'h' || c == 'H' || c == '-' || c == ' '; });
}

// Which skipped kind a line of another dialect is, or nothing if it is none.
std::optional<TableFile::Skipped> skippedKind(std::string_view line)
{
    using enum TableFile::Skipped;
    const std::string_view rest = line.substr(1);
    const std::size_t equals = rest.find('=');
    switch (line.front()) {
    case '$': return ControlCode;
    case '^': return Mark;
    // "!7F=[kana],2" switches to another table; "!HH" alone marks a diacritic.
    case '!': return equals != std::string_view::npos && rest.substr(equals + 1).starts_with('[') ? TableSwitch : Mark;
    // "@HH" marks a diacritic; "@name" names the table for switches.
    case '@': return isHex(trimmedBlanks(rest.substr(0, equals))) ? Mark : TableSwitch;
    case '(': return isBookmark(line) ? std::optional(Bookmark) : std::nullopt;
    default: return std::nullopt;
    }
}

} // namespace

TableFile::TableFile()
{
    m_single.fill(-1);
}

std::variant<TableFile, TableFileError> TableFile::parse(std::string_view bytes)
{
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    TableFile table;
    for (int line = 1; !bytes.empty(); ++line) {
        if (auto error = table.readLine(takeLine(bytes), line))
            return *error;
    }
    return table;
}

std::optional<TableFileError> TableFile::readLine(std::string_view line, int number)
{
    if (!decodeUtf8(line))
        return TableFileError{.line = number, .problem = TableFileProblem::NotUtf8};
    const std::string_view content = line.substr(std::min(line.find_first_not_of(kBlanks), line.size()));
    if (trimmedBlanks(content).empty() || content.starts_with('#') || content.starts_with(';'))
        return std::nullopt;
    if (const auto kind = skippedKind(content)) {
        ++m_skipped[std::size_t(*kind)];
        return std::nullopt;
    }
    const char marker = content.front();
    const bool marked = marker == '/' || marker == '\\' || marker == '*';
    const std::string_view body = marked ? content.substr(1) : content;
    const std::size_t equals = body.find('=');
    if (!marked && equals == std::string_view::npos)
        return TableFileError{.line = number, .problem = TableFileProblem::NotUnderstood};
    const std::string_view key = trimmedBlanks(body.substr(0, equals));
    std::string text(equals == std::string_view::npos ? std::string_view() : body.substr(equals + 1));
    const Kind kind = marker == '*' ? Kind::LineBreak : marked ? Kind::End : Kind::Text;
    return readEntry(key, std::move(text), kind, number);
}

std::optional<TableFileError> TableFile::readEntry(std::string_view key, std::string text, Kind kind, int number)
{
    TableFileError error{.line = number, .problem = TableFileProblem::NotUnderstood, .sequence = std::string(key)};
    if (!isHex(key))
        return error;
    if (key.size() % 2 != 0) {
        error.problem = TableFileProblem::OddDigits;
        return error;
    }
    std::vector<std::uint8_t> sequence;
    for (std::size_t at = 0; at < key.size(); at += 2)
        sequence.push_back(*twoHexDigits(key.substr(at, 2)));
    if (const int existing = find(sequence); existing >= 0) {
        error.problem = TableFileProblem::RepeatedSequence;
        error.firstLine = m_entries[std::size_t(existing)].line;
        return error;
    }
    // A carriage return inside the text: no line of a table file can hold it.
    if (!add(sequence, std::move(text), kind))
        return error;
    m_entries.back().line = number;
    return std::nullopt;
}

bool TableFile::add(std::span<const std::uint8_t> sequence, std::string text, Kind kind)
{
    if (sequence.empty() || find(sequence) >= 0 || !decodeUtf8(text) ||
        text.find_first_of("\r\n") != std::string::npos)
        return false;
    if (kind == Kind::Text && text == kLineBreakText)
        kind = Kind::LineBreak;
    const int index = int(m_entries.size());
    m_entries.push_back({{sequence.begin(), sequence.end()}, std::move(text), kind});
    if (sequence.size() == 1) {
        m_single[sequence.front()] = index;
        return true;
    }
    std::vector<int> &longer = m_longer[sequence.front()];
    const auto place = std::find_if(longer.begin(), longer.end(), [&](int other) {
        return m_entries[std::size_t(other)].bytes.size() < sequence.size();
    });
    longer.insert(place, index);
    return true;
}

int TableFile::find(std::span<const std::uint8_t> sequence) const
{
    if (sequence.empty())
        return -1;
    if (sequence.size() == 1)
        return m_single[sequence.front()];
    for (const int index : m_longer[sequence.front()]) {
        if (std::ranges::equal(m_entries[std::size_t(index)].bytes, sequence))
            return index;
    }
    return -1;
}

std::optional<TableFile::Match> TableFile::match(std::span<const std::uint8_t> bytes) const
{
    if (bytes.empty())
        return std::nullopt;
    int found = m_single[bytes.front()];
    for (const int index : m_longer[bytes.front()]) {
        const std::vector<std::uint8_t> &sequence = m_entries[std::size_t(index)].bytes;
        if (sequence.size() <= bytes.size() && std::equal(sequence.begin(), sequence.end(), bytes.begin())) {
            found = index;
            break;
        }
    }
    if (found < 0)
        return std::nullopt;
    const Entry &entry = m_entries[std::size_t(found)];
    return Match{int(entry.bytes.size()), entry.kind, entry.text};
}

std::string TableFile::decode(std::span<const std::uint8_t> bytes) const
{
    std::string text;
    while (!bytes.empty()) {
        const std::optional<Match> found = match(bytes);
        if (found && found->kind == Kind::End)
            break;
        if (!found)
            appendUnmapped(text, bytes.front());
        else
            text.append(found->kind == Kind::LineBreak ? std::string_view("\n") : found->text);
        bytes = bytes.subspan(found ? std::size_t(found->length) : 1);
    }
    return text;
}

void TableFile::appendUnmapped(std::string &text, std::uint8_t byte)
{
    text.push_back('[');
    appendHexByte(text, byte);
    text.push_back(']');
}

std::vector<const TableFile::Entry *> TableFile::sorted() const
{
    std::vector<const Entry *> entries;
    for (const Entry &entry : m_entries)
        entries.push_back(&entry);
    const auto bytesOf = [](const Entry *entry) {
        return std::string_view(reinterpret_cast<const char *>(entry->bytes.data()), entry->bytes.size());
    };
    std::ranges::sort(entries, [&](const Entry *a, const Entry *b) { return bytesOf(a) < bytesOf(b); });
    return entries;
}

std::string TableFile::toText() const
{
    std::string text;
    for (const Entry *entry : sorted()) {
        const std::string key = hexText(entry->bytes);
        if (entry->kind == Kind::Text || (entry->kind == Kind::LineBreak && entry->text == kLineBreakText))
            text += key + "=" + entry->text;
        else
            text += (entry->kind == Kind::End ? "/" : "*") + key + (entry->text.empty() ? "" : "=" + entry->text);
        text += '\n';
    }
    return text;
}

int TableFile::skippedTotal() const
{
    int total = 0;
    for (const int count : m_skipped)
        total += count;
    return total;
}

std::string TableFile::skippedSummary() const
{
    const int total = skippedTotal();
    if (total == 0)
        return {};
    std::string text = std::to_string(total) + (total == 1 ? " line" : " lines") + " skipped: ";
    bool first = true;
    for (int kind = 0; kind < kSkippedKinds; ++kind) {
        const int count = m_skipped[std::size_t(kind)];
        if (count == 0)
            continue;
        text += (first ? "" : ", ") + std::to_string(count) + " " + std::string(kSkippedNames[kind][count == 1 ? 0 : 1]);
        first = false;
    }
    return text;
}

bool operator==(const TableFile &a, const TableFile &b)
{
    const auto left = a.sorted();
    const auto right = b.sorted();
    return std::ranges::equal(left, right, [](const TableFile::Entry *x, const TableFile::Entry *y) {
        return x->bytes == y->bytes && x->text == y->text && x->kind == y->kind;
    });
}

} // namespace rom
