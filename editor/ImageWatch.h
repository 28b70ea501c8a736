#pragma once

#include "EditorPrompts.h"
#include "FileAccess.h"
#include "RomError.h"
#include "ShopRecord.h"

#include <QCoreApplication>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

class EditingFlow;
class EditorView;
class ShopDocument;
class ShopTableModel;

// Follows the open image's file while other programs change it. When one
// wrote to it, the title (the internal name), All Shops and the shown shop
// are read again, the shop unless that would drop unsaved picks. When one
// replaced or resized it, a reload is offered, once for each version of
// the file that takes its place.
class ImageWatch {
    Q_DECLARE_TR_FUNCTIONS(ImageWatch)

public:
    ImageWatch(ShopDocument &document, EditorView &view, EditorPrompts &prompts, ShopTableModel &table,
               EditingFlow &flow, rom::FileAccess &files);

    // FileChanged when the file at the path is no longer the one opened;
    // changedByOthers tells whether another program wrote to it.
    [[nodiscard]] rom::RomError follow(bool *changedByOthers = nullptr);
    // The file at the path was replaced: the user may reload it.
    void offerReload();
    // A newly opened image, with the name and table read at the open: its
    // name in the title, its table in All Shops; no reload declined yet.
    void opened(const std::string &internalName, const rom::ShopTable &table);
    // All Shops' table, in one read of the file; the model keeps up with
    // the editor's own writes without reading.
    void readTable();

private:
    void showName(const std::string &internalName);

    ShopDocument &m_document;
    EditorView &m_view;
    EditorPrompts &m_prompts;
    ShopTableModel &m_table;
    EditingFlow &m_flow;
    rom::FileAccess &m_files;
    // The size and time of a replaced file whose reload the user declined.
    std::optional<std::pair<std::int64_t, rom::FileTime>> m_reloadDeclined;
};
