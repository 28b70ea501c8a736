#pragma once

#include "RomError.h"
#include "ShopRecord.h"
#include "TableCheck.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

// The texts of the editor's messages and questions. Each names the file and
// says what happened and what the user can do.
class EditorMessages {
    Q_DECLARE_TR_FUNCTIONS(EditorMessages)

public:
    // Turns a type or item code into the label its list shows.
    using Labeller = std::function<QString(std::uint8_t code)>;

    [[nodiscard]] static QString reason(rom::RomError error);
    // A reason from the file layer as a sentence of a message: its first letter a capital.
    [[nodiscard]] static QString sentence(const std::string &text);
    // A path as the user reads it, in quotes.
    [[nodiscard]] static QString quoted(const QString &fileName);

    [[nodiscard]] static QString openFailure(const QString &fileName, const QString &why, bool imageStaysOpen);
    // what: "save shop %1 to", "read shop %1 from"; outcome: where the editor stays.
    [[nodiscard]] static QString shopFailure(const QString &what, int index, const QString &fileName,
                                             rom::RomError error, const QString &outcome);
    [[nodiscard]] static QString flushFailure(const QString &fileName);
    // A table that could not be imported: the file at fault, why, and what became of the image.
    [[nodiscard]] static QString importFailure(const QString &fileName, const QString &why, const QString &outcome);
    [[nodiscard]] static QString conflictQuestion(int index, const QString &fileName,
                                                  const rom::ShopRecord &inFile, const rom::ShopRecord &wanted,
                                                  const Labeller &typeLabel, const Labeller &itemLabel);
    // Several shops written by one step (an import) changed since by another program.
    [[nodiscard]] static QString conflictsQuestion(const QList<int> &indexes, const QString &fileName);
    // An image opened whose table does not look like a shop table.
    [[nodiscard]] static QString strangeTable(const rom::TableDoubt &doubt, const QString &fileName);
    // Edit > Paste Shop with no shop on the clipboard.
    [[nodiscard]] static QString nothingToPaste();
    // Another program replaced the open image's file.
    [[nodiscard]] static QString reloadQuestion(const QString &fileName, int shown, bool unsavedPicks);
    // doing: "quitting", "opening another image".
    [[nodiscard]] static QString unsavedQuestion(int index, const QString &fileName, const QString &doing);
};
