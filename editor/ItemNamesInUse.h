#pragma once

#include "EditorPrompts.h"

#include "ItemNames.h"
#include "NameTableChoice.h"

#include <QCoreApplication>

#include <optional>
#include <string>

class EditorView;
class ShopDocument;
class ShopTableModel;

// The item names the lists and the All Shops table show: the built-in
// catalogue, a names file's, or the open image's own, read from its name
// table with a table file. The last chosen is in use, and remembered
// across runs (QSettings): a names file by its path's bytes unless given
// for one run only; an image's names for every image of the same internal
// name, which gets them back when it is opened.
class ItemNamesInUse {
    Q_DECLARE_TR_FUNCTIONS(ItemNamesInUse)

public:
    ItemNamesInUse(EditorView &view, EditorPrompts &prompts, ShopTableModel &table, ShopDocument &document);

    // At start: the file given for this run, else the one remembered. A file
    // that cannot be used leaves the built-in names, with one message.
    void start(const std::string &namesFile);
    // Options > Item Names..., Built-in Item Names, Export Item Names...
    void choose();
    void useBuiltIn();
    void exportNames();
    // Options > Item Names from Image..., for the open image.
    void chooseFromImage();
    // An image was opened: its own names, if the names last chosen were an
    // image's and names were chosen for images of its internal name.
    void imageOpened();

    [[nodiscard]] const rom::ItemNames &names() const { return m_names; }
    // "2A: Moonstone Blade"
    [[nodiscard]] QString label(std::uint8_t code) const;

private:
    bool use(const std::string &path, const QString &outcome);
    void apply(const rom::ItemNames &names);
    [[nodiscard]] std::optional<NameTableChoice> readNameTable();
    void useRemembered();

    EditorView &m_view;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    ShopDocument &m_document;
    rom::ItemNames m_names;
    bool m_forThisRun = false; // a names file given for this run: nothing else is used
};
