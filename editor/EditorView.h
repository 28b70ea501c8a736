#pragma once

#include "ShopRecord.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the main window shows, as the editing controller tells it. The view
// holds no editing state: it shows what it is told, and reports what the
// user asks for (a pick, a move to another shop, a command) by calling
// EditorController's slots. Nothing the controller calls here reports back.
class EditorView {
public:
    virtual ~EditorView() = default;

    // The type list's entries, entry n for type code n. A code shown beyond
    // them gets an entry of its own while it is shown ("0x69: Unknown").
    virtual void setTypeLabels(const QStringList &labels) = 0;
    // The entries of every slot list, entry n for item code n; the shown
    // picks stay.
    virtual void setItemLabels(const QStringList &labels) = 0;
    // The shop on screen: its index in the index box and on the scroll bar,
    // its type and items as the lists' picks. The type list offers
    // unlabelledType too, a code without a label that the file held for the
    // shop when it was shown, so that it can be picked again.
    virtual void showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType) = 0;
    virtual void setTitle(const QString &title) = 0;
    // Where the editor is, always visible: the open file's name (its whole
    // path for a closer look) and the shown shop's place in it
    // ("Shop 12  $C4:7B2C  file 0x47D2C").
    virtual void showLocation(const QString &fileName, const QString &path, const QString &shop) = 0;
    // Whether the picks on screen are unsaved: a marker in the title.
    virtual void setModified(bool modified) = 0;
    // Enables the editing controls and the commands that need an open image.
    virtual void enableEditing() = 0;
    // Whether an image is compared with (Edit > Revert Shop to Clean needs
    // one), and the shown shop's fields (0 the type, 1-8 the slots) that
    // differ from it, each with what that image holds there.
    virtual void showDifferences(bool comparing, const QMap<int, QString> &differing) = 0;
    // The clipboard's text, to copy a shop to and paste one from.
    virtual void copyText(const QString &text) = 0;
    [[nodiscard]] virtual QString pastedText() const = 0;

    // The All Shops window over EditorController::shopTable(), not modal:
    // shows or raises it; whether it is shown.
    virtual void showAllShops() = 0;
    [[nodiscard]] virtual bool allShopsShown() const = 0;
    // Closes the window, which asks EditorController::askToSaveChanges
    // whether it may, and ends the program.
    virtual void closeWindow() = 0;
};
