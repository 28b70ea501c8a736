#pragma once

#include <QList>
#include <QStringList>

// Which entries of a drop-down list hold a text the user typed, best first.
// An entry's code is the hex number its label starts with ("2A: Glaive",
// "0x69: Unknown"), else its place in the list (the type list's "Armor 200%
// cost" is code 0x12).
namespace label_search {

// The entries whose label holds text, in any case: first the entry whose
// code the text is (two hex digits, "2a"), then those with a word that
// starts with the text, then those holding it inside a word; in list order
// within each.
[[nodiscard]] QList<int> matches(const QStringList &labels, const QString &text);

} // namespace label_search
