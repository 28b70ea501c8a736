#pragma once

#include "EditorPrompts.h"

#include "ItemNames.h"

#include <QCoreApplication>

#include <string>

class EditorView;
class ShopTableModel;

// The item names the lists and the All Shops table show: the built-in
// catalogue, or a names file's, which is remembered across runs (QSettings,
// the path's bytes) unless given for one run only.
class ItemNamesInUse {
    Q_DECLARE_TR_FUNCTIONS(ItemNamesInUse)

public:
    ItemNamesInUse(EditorView &view, EditorPrompts &prompts, ShopTableModel &table);

    // At start: the file given for this run, else the one remembered. A file
    // that cannot be used leaves the built-in names, with one message.
    void start(const std::string &namesFile);
    // Options > Item Names..., Built-in Item Names, Export Item Names...
    void choose();
    void useBuiltIn();
    void exportNames();

    [[nodiscard]] const rom::ItemNames &names() const { return m_names; }
    // "2A: Moonstone Blade"
    [[nodiscard]] QString label(std::uint8_t code) const;

private:
    bool use(const std::string &path, const QString &outcome);
    void apply(const rom::ItemNames &names);

    EditorView &m_view;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    rom::ItemNames m_names;
};
