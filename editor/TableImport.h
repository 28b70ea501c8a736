#pragma once

#include "EditorPrompts.h"

#include <QCoreApplication>

class EditingFlow;
class ShopDocument;
class ShopHistory;
class ShopTableModel;

// File > Import Table...: a CSV table into the open image. The whole table
// is read and checked first; unsaved picks are saved or dropped as the user
// answers; then the shops whose bytes it changes are written, each as one
// record, and make one step of the history. The report says how many.
class TableImport {
    Q_DECLARE_TR_FUNCTIONS(TableImport)

public:
    TableImport(ShopDocument &document, EditorPrompts &prompts, ShopTableModel &table, ShopHistory &history,
                EditingFlow &flow);

    void run();

private:
    ShopDocument &m_document;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    ShopHistory &m_history;
    EditingFlow &m_flow;
};
