#pragma once

#include "EditorPrompts.h"
#include "ShopDocument.h"

#include <QCoreApplication>

class ItemNamesInUse;
class ShopTableModel;

// The checked write of one shop of the open image: the shop is read again
// first, and if another program changed it since the editor read it, the
// user decides between overwriting, taking the file's version and
// cancelling. Every failure is reported, naming the file.
class ShopWriter {
    Q_DECLARE_TR_FUNCTIONS(ShopWriter)

public:
    enum class Outcome {
        Written,          // the file holds the new bytes now
        AlreadyThere,     // it held them already
        FileVersionTaken, // another program's change is the shown shop now, without picks
        Stopped,          // failed (reported) or cancelled
    };

    ShopWriter(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table, const ItemNamesInUse &names);

    // Writes record over shop index, whose bytes in the file should be
    // `expected`; before receives what the file held.
    [[nodiscard]] Outcome write(int index, const rom::ShopRecord &record, const rom::ShopRecord &expected,
                                rom::ShopRecord &before);
    // what: "save shop %1 to"; the message says the editor stays on the shown shop.
    void reportFailure(const QString &what, int index, rom::RomError error);

private:
    ShopDocument &m_document;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    const ItemNamesInUse &m_names;
};
