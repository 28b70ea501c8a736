#include "LabelSearch.h"

#include <QRegularExpression>

#include <array>
#include <optional>

namespace label_search {

namespace {

// How well a label holds the text, best first.
enum class Match { Code, WordStart, InsideWord, None };
constexpr std::size_t kMatchKinds = 3; // all but None

// The code a label starts with: "2A: " on items, "0x69: " on unknown types.
std::optional<int> leadingCode(const QString &label)
{
    static const QRegularExpression code(QStringLiteral("^(?:0x)?([0-9A-Fa-f]{2}):"));
    const QRegularExpressionMatch found = code.match(label);
    return found.hasMatch() ? std::optional(found.captured(1).toInt(nullptr, 16)) : std::nullopt;
}

// A text of exactly two hex digits names a code.
std::optional<int> typedCode(const QString &text)
{
    static const QRegularExpression code(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    return code.match(text).hasMatch() ? std::optional(text.toInt(nullptr, 16)) : std::nullopt;
}

bool startsWord(const QString &label, qsizetype at) { return at == 0 || !label.at(at - 1).isLetterOrNumber(); }

Match rate(const QString &label, int entry, const QString &text, std::optional<int> code)
{
    if (code && leadingCode(label).value_or(entry) == *code)
        return Match::Code;
    Match found = Match::None;
    for (qsizetype at = label.indexOf(text, 0, Qt::CaseInsensitive); at >= 0;
         at = label.indexOf(text, at + 1, Qt::CaseInsensitive)) {
        if (startsWord(label, at))
            return Match::WordStart;
        found = Match::InsideWord;
    }
    return found;
}

} // namespace

QList<int> matches(const QStringList &labels, const QString &text)
{
    if (text.isEmpty())
        return {};
    const std::optional<int> code = typedCode(text);
    std::array<QList<int>, kMatchKinds> found;
    for (int entry = 0; entry < labels.size(); ++entry) {
        const Match match = rate(labels[entry], entry, text, code);
        if (match != Match::None)
            found[std::size_t(match)].append(entry);
    }
    return found[0] + found[1] + found[2];
}

} // namespace label_search
