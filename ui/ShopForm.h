#pragma once

#include "ShopRecord.h"

#include <QMap>
#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStringListModel;
class ShopScrollBar;

// The main window's client area, built from the form's table: one tab page
// with the shop index, the shop type and the eight item slots, Save and Quit
// below, at the table's places scaled to its font, the lists widening with
// the window (FontScaledLayout). It shows the shop it is told to show and
// reports what the user does with its controls: picks, the scroll bar, a
// shop number typed in the index box; it keeps nothing else.
class ShopForm : public QWidget {
    Q_OBJECT

public:
    explicit ShopForm(QWidget *parent);

    void setTypeLabels(const QStringList &labels);
    void setItemLabels(const QStringList &labels);
    void showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType);
    void enableEditing();
    // Marks the fields (0 the type, 1-8 the slots) that differ from the
    // image compared with, each with what that image holds there.
    void showDifferences(const QMap<int, QString> &differing);
    // Gives the keyboard focus to an item slot's list (1-8).
    void focusSlot(int slot);
    // Stops what the mouse is doing on the scroll bar (a modal window took
    // the button's release).
    void endMouseAction();

signals:
    void typePicked(int code);
    void itemPicked(int slot, int code);
    // The scroll bar was moved to another shop; it stays on the shown one
    // until that shop is shown.
    void moveRequested(int index);
    // The scroll bar's thumb is being dragged.
    void thumbDragged();
    void saveRequested();
    void quitRequested();

private:
    void createControls();
    void findControls();
    void connectControls();
    void setKeyboardOrder();
    void showType(std::uint8_t code, std::optional<std::uint8_t> unlabelledType);
    void goToTypedShop();
    void showShopNumber();
    void showRefusal(const QString &problem);

    QLineEdit *m_shopIndex = nullptr;
    ShopScrollBar *m_scroll = nullptr;
    QComboBox *m_type = nullptr;
    std::array<QComboBox *, rom::ShopRecord::kSlotCount> m_slots{};
    QPushButton *m_save = nullptr;
    QPushButton *m_quit = nullptr;
    QWidget *m_tabs = nullptr;
    QStringListModel *m_items = nullptr; // the entries of every slot list
    int m_shown = 0;
    int m_typeLabels = 0;
    // A shown type code without a label, the type list's extra last entry.
    std::optional<std::uint8_t> m_unlabelledType;
};
