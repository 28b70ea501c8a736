#pragma once

#include "Placement.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QKeyCombination>
#include <QKeySequence>
#include <QList>
#include <QRect>
#include <QPalette>
#include <QSize>

#include <span>

// The main window's fixed description: its client area, its controls with
// their places in twips, and its menus (texts marked for translation in the
// context of the class that shows them). ShopForm and MainWindow build
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
    TypeList,   // a drop-down list of the shop types, filled by the editing flow
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
    {"tabs", Kind::TabStrip, nullptr, {120, 60, 6375, 4665}, QT_TRANSLATE_NOOP("ShopForm", "Shops")},
    {"shopPage", Kind::Frame, nullptr, {210, 390, 6225, 4275}},
    {"shopIndexLabel", Kind::Caption, "shopPage", {150, 300, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Shop Index:")},
    {"shopIndexEdit", Kind::TextBox, "shopPage", {1140, 270, 705, 285}, "0", false,
     QT_TRANSLATE_NOOP("ShopForm", "Shop Index")},
    {"shopScrollBar", Kind::ScrollBar, "shopPage", {1140, 540, 705, 180}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Shop Index")},
    {"shopTypeLabel", Kind::Caption, "shopPage", {2700, 300, 885, 285}, QT_TRANSLATE_NOOP("ShopForm", "Shop Type:")},
    {"shopTypeList", Kind::TypeList, "shopPage", {3660, 240, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Shop Type")},
    {"ruleShadow", Kind::RuleShadow, "shopPage", {210, 840, 5760, 0}},
    {"ruleLight", Kind::RuleLight, "shopPage", {210, 840, 5760, 0}},
    {"slot1Label", Kind::Caption, "shopPage", {360, 1080, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 1:")},
    {"slot1List", Kind::ItemList, "shopPage", {1350, 1020, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 1")},
    {"slot2Label", Kind::Caption, "shopPage", {360, 1440, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 2:")},
    {"slot2List", Kind::ItemList, "shopPage", {1350, 1380, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 2")},
    {"slot3Label", Kind::Caption, "shopPage", {360, 1800, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 3:")},
    {"slot3List", Kind::ItemList, "shopPage", {1350, 1740, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 3")},
    {"slot4Label", Kind::Caption, "shopPage", {360, 2160, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 4:")},
    {"slot4List", Kind::ItemList, "shopPage", {1350, 2100, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 4")},
    {"slot5Label", Kind::Caption, "shopPage", {360, 2520, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 5:")},
    {"slot5List", Kind::ItemList, "shopPage", {1350, 2460, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 5")},
    {"slot6Label", Kind::Caption, "shopPage", {360, 2880, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 6:")},
    {"slot6List", Kind::ItemList, "shopPage", {1350, 2820, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 6")},
    {"slot7Label", Kind::Caption, "shopPage", {360, 3240, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 7:")},
    {"slot7List", Kind::ItemList, "shopPage", {1350, 3180, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 7")},
    {"slot8Label", Kind::Caption, "shopPage", {360, 3600, 915, 285}, QT_TRANSLATE_NOOP("ShopForm", "Item Slot 8:")},
    {"slot8List", Kind::ItemList, "shopPage", {1350, 3540, 2000, 315}, "", false,
     QT_TRANSLATE_NOOP("ShopForm", "Item Slot 8")},
    {"icon", Kind::Picture, nullptr, {150, 4890, 240, 240}, ":/pictures/shop-16.xpm"},
    {"noteLabel", Kind::Label, nullptr, {450, 4890, 3435, 225},
     QT_TRANSLATE_NOOP("ShopForm", "This editor also works on the Japanese Tarnwick.")},
    {"saveButton", Kind::Button, nullptr, {3960, 4830, 1245, 345}, QT_TRANSLATE_NOOP("ShopForm", "&Save"), false},
    {"quitButton", Kind::Button, nullptr, {5220, 4830, 1245, 345}, QT_TRANSLATE_NOOP("ShopForm", "&Quit")},
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

// How a control takes a larger font and window: the lists, the rules and
// the note widen, the tab strip and its page take all the room, and the row
// under them keeps to the bottom, its buttons to the right. Texts too wide
// for their places (a font wider than the one the form was made for) grow:
// a caption to the left, the note in lines.
[[nodiscard]] constexpr Placement placement(const Control &control)
{
    using Stretch = Placement::Stretch;
    using Fit = Placement::Fit;
    const bool below = !control.parent; // the tab strip and its page aside, the row under them
    const Stretch vertical = below ? Stretch::Follows : Stretch::Stays;
    const QRect place = pixelGeometry(control);
    switch (control.kind) {
    case Kind::TabStrip:
    case Kind::Frame: return {place, Stretch::Grows, Stretch::Grows};
    case Kind::TypeList:
    case Kind::ItemList: return {place, Stretch::Grows, vertical};
    case Kind::RuleShadow:
    case Kind::RuleLight: return {place, Stretch::Grows, vertical, Fit::Line};
    case Kind::Label: return {place, Stretch::Grows, vertical, Fit::Wraps};
    case Kind::Caption: return {place, Stretch::Stays, vertical, Fit::GrowsLeft};
    case Kind::Button: return {place, Stretch::Follows, vertical};
    default: return {place, Stretch::Stays, vertical};
    }
}

// The palette's colour for an etched rule's line.
[[nodiscard]] constexpr QPalette::ColorRole ruleColour(Kind kind)
{
    return kind == Kind::RuleShadow ? QPalette::Dark : QPalette::Light;
}

// When a menu entry can be chosen.
enum class Availability {
    Always,
    WithImage, // once an image is open
    Managed,   // as what it acts on allows: the history, the comparison
    Never,     // shown, never enabled
};

struct MenuEntry {
    const char *name;
    const char *text; // nullptr for a separator
    // The platform's keys for a standard command, or keys of its own.
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    QKeyCombination shortcut = QKeyCombination::fromCombined(0); // none
    Availability availability = Availability::Always;
    QKeyCombination otherShortcut = QKeyCombination::fromCombined(0); // none

    [[nodiscard]] constexpr bool enabledAtStart() const { return availability == Availability::Always; }
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
    {"openAction", QT_TRANSLATE_NOOP("MainWindow", "&Open ROM"), QKeySequence::Open},
    {"saveAction", QT_TRANSLATE_NOOP("MainWindow", "&Save"), QKeySequence::Save},
    {"reloadAction", QT_TRANSLATE_NOOP("MainWindow", "&Reload"), QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_R,
     Availability::WithImage, Qt::Key_F5},
    {"fileSeparator", nullptr},
    {"exportTableAction", QT_TRANSLATE_NOOP("MainWindow", "&Export Table..."), QKeySequence::UnknownKey, kNoKey,
     Availability::WithImage},
    {"importTableAction", QT_TRANSLATE_NOOP("MainWindow", "&Import Table..."), QKeySequence::UnknownKey, kNoKey,
     Availability::WithImage},
    {"createPatchAction", QT_TRANSLATE_NOOP("MainWindow", "Create &Patch..."), QKeySequence::UnknownKey, kNoKey,
     Availability::WithImage},
    {"fixChecksumAction", QT_TRANSLATE_NOOP("MainWindow", "Fix &Checksum..."), QKeySequence::UnknownKey, kNoKey,
     Availability::WithImage},
    {"quitSeparator", nullptr},
    // No standard key on every desktop.
    {"quitAction", QT_TRANSLATE_NOOP("MainWindow", "&Quit"), QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_Q},
};

// Undo and Redo come from the history; their texts then name what they
// would undo or redo ("&Undo Shop 12"). Their keys are the editor's own:
// the standard ones differ between desktops (Alt+Backspace, Ctrl+Y first).
inline constexpr MenuEntry kEditEntries[] = {
    {"undoAction", QT_TRANSLATE_NOOP("MainWindow", "&Undo"), QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_Z,
     Availability::Managed},
    {"redoAction", QT_TRANSLATE_NOOP("MainWindow", "&Redo"), QKeySequence::UnknownKey,
     Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Availability::Managed, Qt::CTRL | Qt::Key_Y},
    {"editSeparator", nullptr},
    {"goToShopAction",
     QT_TRANSLATE_NOOP("MainWindow", "&Go to Shop..."), QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_G,
     Availability::WithImage},
    {"shopSeparator", nullptr},
    // A shop's nine bytes as text; the plain Ctrl+C and Ctrl+V stay the index box's.
    {"copyShopAction", QT_TRANSLATE_NOOP("MainWindow", "&Copy Shop"), QKeySequence::UnknownKey,
     Qt::CTRL | Qt::SHIFT | Qt::Key_C, Availability::WithImage},
    {"pasteShopAction", QT_TRANSLATE_NOOP("MainWindow", "&Paste Shop"), QKeySequence::UnknownKey,
     Qt::CTRL | Qt::SHIFT | Qt::Key_V, Availability::WithImage},
    {"revertAction", QT_TRANSLATE_NOOP("MainWindow", "Revert Shop to C&lean"), QKeySequence::UnknownKey, kNoKey,
     Availability::Managed},
};

inline constexpr MenuEntry kViewEntries[] = {
    {"allShopsAction",
     QT_TRANSLATE_NOOP("MainWindow", "&All Shops"), QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_L,
     Availability::WithImage},
    {"compareAction", QT_TRANSLATE_NOOP("MainWindow", "&Compare with Image..."), QKeySequence::UnknownKey, kNoKey,
     Availability::WithImage},
};

inline constexpr MenuEntry kOptionsEntries[] = {
    {"disabledFeatureAction",
     QT_TRANSLATE_NOOP("MainWindow", "&Disabled Feature"), QKeySequence::UnknownKey, Qt::Key_F3, Availability::Never},
    {"optionsSeparator", nullptr},
    {"itemNamesAction", QT_TRANSLATE_NOOP("MainWindow", "&Item Names...")},
    {"imageNamesAction", QT_TRANSLATE_NOOP("MainWindow", "Item &Names from Image..."), QKeySequence::UnknownKey,
     kNoKey, Availability::WithImage},
    {"builtInNamesAction", QT_TRANSLATE_NOOP("MainWindow", "&Built-in Item Names")},
    {"exportNamesAction", QT_TRANSLATE_NOOP("MainWindow", "&Export Item Names...")},
    {"aboutSeparator", nullptr},
    {"aboutAction", QT_TRANSLATE_NOOP("MainWindow", "&About"), QKeySequence::UnknownKey, Qt::Key_F1},
};

// The menu bar, left to right.
inline constexpr Menu kMenus[] = {
    {"fileMenu", QT_TRANSLATE_NOOP("MainWindow", "&File"), kFileEntries},
    {"editMenu", QT_TRANSLATE_NOOP("MainWindow", "&Edit"), kEditEntries},
    {"viewMenu", QT_TRANSLATE_NOOP("MainWindow", "&View"), kViewEntries},
    {"optionsMenu", QT_TRANSLATE_NOOP("MainWindow", "&Options"), kOptionsEntries},
};

} // namespace form
