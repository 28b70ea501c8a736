#pragma once

#include "TableFileError.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rom {

// A table file: the byte sequences of a game's text and the characters they
// stand for, as ROM hackers write them for their hex editors and script tools.
//
// UTF-8 text (a byte-order mark allowed), LF or CRLF line ends. Blank lines
// and lines whose first non-blank character is '#' or ';' are comments.
// Every other line is one of:
//   8A=A         a byte sequence (two hex digits a byte, any number of
//   8A8B=th      bytes) and its text, everything after the first '='; the
//                longest sequence wins when decoding. The text \n is a line
//                break.
//   /FF  \FF     an end sequence, with or without "=text"
//   *FE          a line break, with or without "=text"
// Lines of features a name never needs are skipped and counted by kind:
// control codes with parameters ($HH=...), marks (!HH, @HH, ^HH), bookmarks
// ((HHHHh)Title) and table switches (@name, !HH=[name],N). Any other line,
// a sequence with an odd number of hex digits, or a sequence given twice
// refuses the whole file.
class TableFile {
public:
    enum class Kind {
        Text,
        LineBreak, // shown as a blank in a name
        End,       // ends the string
    };
    enum class Skipped {
        ControlCode,
        Mark,
        Bookmark,
        TableSwitch,
    };
    static constexpr int kSkippedKinds = 4;
    static constexpr int kByteValues = 256;

    // The entry found at the start of some bytes.
    struct Match {
        int length = 0; // bytes it takes
        Kind kind = Kind::Text;
        std::string_view text; // as the file gives it; valid while the table lives
    };

    // No entries: every byte decodes as [HH].
    TableFile();

    // Reads the bytes of a table file; refuses the whole file at its first wrong line.
    [[nodiscard]] static std::variant<TableFile, TableFileError> parse(std::string_view bytes);

    // Adds an entry; false (and nothing added) when the sequence is empty or
    // already given, or the text is not UTF-8 or holds a line end.
    bool add(std::span<const std::uint8_t> sequence, std::string text, Kind kind = Kind::Text);

    // The longest entry whose sequence starts bytes, if any.
    [[nodiscard]] std::optional<Match> match(std::span<const std::uint8_t> bytes) const;
    // The text of bytes up to the first end sequence: line breaks as LF, a
    // byte no sequence starts with as "[HH]".
    [[nodiscard]] std::string decode(std::span<const std::uint8_t> bytes) const;
    // Appends "[HH]", how a byte that no sequence starts with reads.
    static void appendUnmapped(std::string &text, std::uint8_t byte);
    // A table file of every entry, one line each in the order of their
    // bytes; parse() reads it back to an equal table.
    [[nodiscard]] std::string toText() const;

    [[nodiscard]] int size() const { return int(m_entries.size()); }
    [[nodiscard]] int skipped(Skipped kind) const { return m_skipped[std::size_t(kind)]; }
    [[nodiscard]] int skippedTotal() const;
    // "3 lines skipped: 2 control codes ($HH=...), 1 bookmark"; empty when none was.
    [[nodiscard]] std::string skippedSummary() const;

    // The same entries, in whatever order they were given.
    friend bool operator==(const TableFile &a, const TableFile &b);

private:
    struct Entry {
        std::vector<std::uint8_t> bytes;
        std::string text;
        Kind kind = Kind::Text;
        int line = 0; // where parse() read it
    };

    [[nodiscard]] std::optional<TableFileError> readLine(std::string_view line, int number);
    [[nodiscard]] std::optional<TableFileError> readEntry(std::string_view key, std::string text, Kind kind,
                                                          int number);
    [[nodiscard]] int find(std::span<const std::uint8_t> sequence) const;
    [[nodiscard]] std::vector<const Entry *> sorted() const;

    std::vector<Entry> m_entries;
    // For decoding: the entry of each one-byte sequence (-1: none), and the
    // longer sequences by their first byte, longest first.
    std::array<int, kByteValues> m_single;
    std::array<std::vector<int>, kByteValues> m_longer;
    std::array<int, kSkippedKinds> m_skipped{};
};

} // namespace rom
