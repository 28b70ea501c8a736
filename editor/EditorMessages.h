#pragma once

#include "RomError.h"
#include "ShopRecord.h"

#include <QList>
#include <QString>

#include <functional>

// The texts of the editor's messages and questions. Each names the file and
// says what happened and what the user can do.
namespace messages {

// Turns a type or item code into the label its list shows.
using Labeller = std::function<QString(std::uint8_t code)>;

[[nodiscard]] QString reason(rom::RomError error);
// A reason from the file layer as a sentence of a message: its first letter a capital.
[[nodiscard]] QString sentence(const std::string &text);
// A path as the user reads it, in quotes.
[[nodiscard]] QString quoted(const QString &fileName);

[[nodiscard]] QString openFailure(const QString &fileName, const QString &why, bool imageStaysOpen);
// what: "save shop %1 to", "read shop %1 from"; outcome: where the editor stays.
[[nodiscard]] QString shopFailure(const QString &what, int index, const QString &fileName, rom::RomError error,
                                  const QString &outcome);
[[nodiscard]] QString flushFailure(const QString &fileName);
// A table that could not be imported: the file at fault, why, and what became of the image.
[[nodiscard]] QString importFailure(const QString &fileName, const QString &why, const QString &outcome);
[[nodiscard]] QString conflictQuestion(int index, const QString &fileName, const rom::ShopRecord &inFile,
                                       const rom::ShopRecord &wanted, const Labeller &typeLabel,
                                       const Labeller &itemLabel);
// Several shops written by one step (an import) changed since by another program.
[[nodiscard]] QString conflictsQuestion(const QList<int> &indexes, const QString &fileName);
// doing: "quitting", "opening another image".
[[nodiscard]] QString unsavedQuestion(int index, const QString &fileName, const QString &doing);

} // namespace messages
