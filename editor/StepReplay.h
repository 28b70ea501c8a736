#pragma once

#include "EditorPrompts.h"
#include "ShopChange.h"

#include <QCoreApplication>

class EditingFlow;
class ShopDocument;
class ShopTableModel;
class ShopWriter;

// Undoes or redoes a step of the history on the open image. A step of one
// shop is done where it happened: that shop is shown first, as a move
// would show it, and written with the checked write. A step of several (an
// import) is done where the editor stands, after one question if another
// program changed some of its shops since; tried again after a failure, it
// passes over the shops already done.
class StepReplay {
    Q_DECLARE_TR_FUNCTIONS(StepReplay)

public:
    StepReplay(ShopDocument &document, ShopWriter &writer, EditorPrompts &prompts, ShopTableModel &table,
               EditingFlow &flow);

    // False if a write failed (reported) or the user cancelled.
    [[nodiscard]] bool apply(const ShopChange &change, bool undo);

private:
    bool applyOne(const ShopWrite &write, bool undo);
    bool applySeveral(const ShopChange &change, bool undo);

    ShopDocument &m_document;
    ShopWriter &m_writer;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    EditingFlow &m_flow;
};
