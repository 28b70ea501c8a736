#pragma once

#include "Twips.h"

#include <QKeyCombination>
#include <QKeySequence>
#include <QList>
#include <QRect>
#include <QPalette>
#include <QSize>

#include <span>

// The main window's fixed description: its client area, its controls with
// their places in twips, and its menus. ShopForm and MainWindow build
// themselves from these tables, and so does the benchmarks' bare window,
// which then always holds what the real one shows.
namespace form {

// The client area, below the menu bar: 6600 x 5280 twips.
inline constexpr QSize kClientSize(twips::pixels(6600), twips::pixels(5280));

enum class Kind {
    TabStrip,   // a tab widget with one page, titled by the text
    Frame,      // a plain widget holding the controls that name it as parent
    Picture,    // a label showing the picture resource the text names
    Label,      // a text
    Caption,    // a right-aligned text, the buddy of the next control in the table
    TextBox,    // a one-line text field
    ScrollBar,  // the horizontal bar over the shop indexes
    TypeList,   // a drop-down list of the shop types, filled when the form loads
    ItemList,   // a drop-down list of the item catalogue; all share one list of entries
    Button,     // a push button
    RuleShadow, // an etched rule's dark line: two pixels high, one pixel above its place
    RuleLight,  // an etched rule's light line, one pixel high
};

// Left, top, width and height in twips, relative to the parent. A rule's
// place is its left end and its length, with no height.
struct Place {
    int left;
    int top;
    int width;
    int height;
};

struct Control {
    const char *name;
    Kind kind;
    const char *parent; // the frame it sits in; nullptr for the client area
    Place place;
    const char *text = "";
    bool enabled = true;
    const char *accessibleName = nullptr;
};

// In creation order, which is also the order the controls are drawn in.
inline constexpr Control kControls[] = {
    {"TabStrip1", Kind::TabStrip, nullptr, {120, 60, 6375, 4665}, "Shops"},
    {"Frame1", Kind::Frame, nullptr, {210, 390, 6225, 4275}},
    {"Label1", Kind::Caption, "Frame1", {150, 300, 915, 285}, "Shop Index:"},
    {"ShopIndexTXT", Kind::TextBox, "Frame1", {1140, 270, 705, 285}, "0", false, "Shop Index"},
    {"HScroll", Kind::ScrollBar, "Frame1", {1140, 540, 705, 180}, "", false, "Shop Index"},
    {"Label2", Kind::Caption, "Frame1", {2700, 300, 885, 285}, "Shop Type:"},
    {"SpBitCBO", Kind::TypeList, "Frame1", {3660, 240, 2000, 315}, "", false, "Shop Type"},
    {"Line1", Kind::RuleShadow, "Frame1", {210, 840, 5760, 0}},
    {"Line2", Kind::RuleLight, "Frame1", {210, 840, 5760, 0}},
    {"Label3", Kind::Caption, "Frame1", {360, 1080, 915, 285}, "Item Slot 1:"},
    {"Slot1CBO", Kind::ItemList, "Frame1", {1350, 1020, 2000, 315}, "", false, "Item Slot 1"},
    {"Label4", Kind::Caption, "Frame1", {360, 1440, 915, 285}, "Item Slot 2:"},
    {"Slot2CBO", Kind::ItemList, "Frame1", {1350, 1380, 2000, 315}, "", false, "Item Slot 2"},
    {"Label5", Kind::Caption, "Frame1", {360, 1800, 915, 285}, "Item Slot 3:"},
    {"Slot3CBO", Kind::ItemList, "Frame1", {1350, 1740, 2000, 315}, "", false, "Item Slot 3"},
    {"Label6", Kind::Caption, "Frame1", {360, 2160, 915, 285}, "Item Slot 4:"},
    {"Slot4CBO", Kind::ItemList, "Frame1", {1350, 2100, 2000, 315}, "", false, "Item Slot 4"},
    {"Label7", Kind::Caption, "Frame1", {360, 2520, 915, 285}, "Item Slot 5:"},
    {"Slot5CBO", Kind::ItemList, "Frame1", {1350, 2460, 2000, 315}, "", false, "Item Slot 5"},
    {"Label8", Kind::Caption, "Frame1", {360, 2880, 915, 285}, "Item Slot 6:"},
    {"Slot6CBO", Kind::ItemList, "Frame1", {1350, 2820, 2000, 315}, "", false, "Item Slot 6"},
    {"Label9", Kind::Caption, "Frame1", {360, 3240, 915, 285}, "Item Slot 7:"},
    {"Slot7CBO", Kind::ItemList, "Frame1", {1350, 3180, 2000, 315}, "", false, "Item Slot 7"},
    {"Label10", Kind::Caption, "Frame1", {360, 3600, 915, 285}, "Item Slot 8:"},
    {"Slot8CBO", Kind::ItemList, "Frame1", {1350, 3540, 2000, 315}, "", false, "Item Slot 8"},
    {"Image1", Kind::Picture, nullptr, {150, 4890, 240, 240}, ":/pictures/shop-16.xpm"},
    {"InfoLBL", Kind::Label, nullptr, {450, 4890, 3435, 225}, "This editor also works on the Japanese Tarnwick."},
    {"SaveCMD", Kind::Button, nullptr, {3960, 4830, 1245, 345}, "&Save", false},
    {"cmdOK", Kind::Button, nullptr, {5220, 4830, 1245, 345}, "&Quit"},
};

// Where a control sits, in pixels relative to its parent.
[[nodiscard]] constexpr QRect pixelGeometry(const Control &control)
{
    const Place &place = control.place;
    if (control.kind != Kind::RuleShadow && control.kind != Kind::RuleLight)
        return twips::rect(place.left, place.top, place.width, place.height);
    const bool shadow = control.kind == Kind::RuleShadow;
    const int left = twips::pixels(place.left);
    return QRect(left, twips::pixels(place.top) - (shadow ? 1 : 0), twips::pixels(place.left + place.width) - left,
                 shadow ? 2 : 1);
}

// The palette's colour for an etched rule's line.
[[nodiscard]] constexpr QPalette::ColorRole ruleColour(Kind kind)
{
    return kind == Kind::RuleShadow ? QPalette::Dark : QPalette::Light;
}

struct MenuEntry {
    const char *name;
    const char *text; // nullptr for a separator
    // The platform's keys for a standard command, or keys of its own.
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    QKeyCombination shortcut = QKeyCombination::fromCombined(0); // none
    bool enabled = true; // at start
    QKeyCombination otherShortcut = QKeyCombination::fromCombined(0); // none
};

// An entry's shortcuts, the first shown in the menu.
[[nodiscard]] inline QList<QKeySequence> shortcuts(const MenuEntry &entry)
{
    if (entry.standardKey != QKeySequence::UnknownKey)
        return QKeySequence::keyBindings(entry.standardKey);
    QList<QKeySequence> keys;
    for (const QKeyCombination key : {entry.shortcut, entry.otherShortcut})
        if (key.toCombined() != 0)
            keys.append(QKeySequence(key));
    return keys;
}

struct Menu {
    const char *name;
    const char *text;
    std::span<const MenuEntry> entries;
};

constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);

inline constexpr MenuEntry kFileEntries[] = {
    {"mnuOpen", "&Open ROM", QKeySequence::Open},
    {"mnuSave", "&Save", QKeySequence::Save},
    {"mnuDummy1", nullptr},
    {"mnuExportTable", "&Export Table...", QKeySequence::UnknownKey, kNoKey, false},
    {"mnuImportTable", "&Import Table...", QKeySequence::UnknownKey, kNoKey, false},
    {"mnuCreatePatch", "Create &Patch...", QKeySequence::UnknownKey, kNoKey, false},
    {"mnuFixChecksum", "Fix &Checksum...", QKeySequence::UnknownKey, kNoKey, false},
    {"mnuDummy5", nullptr},
    // No standard key on every desktop.
    {"mnuQuit", "&Quit", QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_Q},
};

// Undo and Redo come from the history; their texts then name what they
// would undo or redo ("&Undo Shop 12"). Their keys are the editor's own:
// the standard ones differ between desktops (Alt+Backspace, Ctrl+Y first).
inline constexpr MenuEntry kEditEntries[] = {
    {"mnuUndo", "&Undo", QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_Z, false},
    {"mnuRedo", "&Redo", QKeySequence::UnknownKey, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, false, Qt::CTRL | Qt::Key_Y},
    {"mnuDummy3", nullptr},
    {"mnuGoToShop", "&Go to Shop...", QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_G, false},
};

inline constexpr MenuEntry kViewEntries[] = {
    {"mnuAllShops", "&All Shops", QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_L, false},
};

inline constexpr MenuEntry kOptionsEntries[] = {
    {"mnuDisabled", "&Disabled Feature", QKeySequence::UnknownKey, Qt::Key_F3, false},
    {"mnuDummy2", nullptr},
    {"mnuItemNames", "&Item Names..."},
    {"mnuBuiltInNames", "&Built-in Item Names"},
    {"mnuExportNames", "&Export Item Names..."},
    {"mnuDummy4", nullptr},
    {"mnuAbout", "&About", QKeySequence::UnknownKey, Qt::Key_F1},
};

// The menu bar, left to right.
inline constexpr Menu kMenus[] = {
    {"mnuFile", "&File", kFileEntries},
    {"mnuEdit", "&Edit", kEditEntries},
    {"mnuView", "&View", kViewEntries},
    {"mnnuOptions", "&Options", kOptionsEntries},
};

} // namespace form
