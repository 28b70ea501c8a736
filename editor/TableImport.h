#pragma once

#include "EditorPrompts.h"

#include "LabelCheck.h"
#include "RomError.h"
#include "ShopChange.h"

#include <QCoreApplication>

#include <vector>

class EditingFlow;
class ItemNamesInUse;
class ShopDocument;
class ShopHistory;
class ShopTableModel;

// File > Import Table...: a CSV table into the open image. The whole table
// is read and checked first; unsaved picks are saved or dropped as the user
// answers; then the shops whose bytes it changes are written, each as one
// record, and make one step of the history. The report names the shops
// changed, and the labels that name another code than the one beside them
// (checked against the item names in use).
class TableImport {
    Q_DECLARE_TR_FUNCTIONS(TableImport)

public:
    TableImport(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table, const ItemNamesInUse &names,
                ShopHistory &history, EditingFlow &flow);

    void run();

private:
    // Writes the rows that differ from before, in order, until one fails.
    [[nodiscard]] rom::RomError write(const std::vector<rom::ShopRow> &rows, const rom::ShopTable &before,
                                      ShopChange &step);
    void report(rom::RomError error, const ShopChange &step, const std::vector<rom::LabelDisagreement> &labels);

    ShopDocument &m_document;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    const ItemNamesInUse &m_names;
    ShopHistory &m_history;
    EditingFlow &m_flow;
};
