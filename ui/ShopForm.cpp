#include "ShopForm.h"

#include "FontScaledLayout.h"
#include "FormLayout.h"
#include "ImageLayout.h"
#include "ItemLabels.h"
#include "Line.h"
#include "MainWindow.h"
#include "PickList.h"
#include "ShopNumber.h"
#include "ShopScrollBar.h"
#include "ShopTypeLabels.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>
#include <QToolTip>

#include <variant>

namespace {

// Long enough for "0x7F" with a blank on either side; "200" is never cut to "20".
constexpr int kShopNumberLength = 6;

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QStringList itemLabels()
{
    QStringList labels;
    for (int code = 0; code < rom::ItemLabels::count(); ++code)
        labels.append(QString::fromLatin1(rom::ItemLabels::label(code).data()));
    return labels;
}

// A control of the kind the form gives, with its text; the caller gives it
// its name, place and state.
QWidget *makeControl(const form::Control &control, QWidget *parent, QAbstractItemModel *items)
{
    const QString text = ShopForm::tr(control.text);
    switch (control.kind) {
    case form::Kind::TabStrip: {
        auto *tabs = new QTabWidget(parent);
        tabs->addTab(new QWidget(tabs), text);
        return tabs;
    }
    case form::Kind::Frame: {
        auto *frame = new QWidget(parent);
        new FontScaledLayout(frame, form::pixelGeometry(control).size(), MainWindow::windowFont());
        return frame;
    }
    case form::Kind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setPixmap(QPixmap(QString::fromLatin1(control.text)));
        return picture;
    }
    case form::Kind::Label: {
        auto *label = new QLabel(text, parent);
        label->setWordWrap(true);
        return label;
    }
    case form::Kind::Caption: {
        auto *label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return label;
    }
    case form::Kind::TextBox: return new QLineEdit(text, parent);
    case form::Kind::ScrollBar: return new ShopScrollBar(rom::kShopCount - 1, parent);
    case form::Kind::TypeList: return new PickList(parent);
    case form::Kind::ItemList: {
        QComboBox *list = new PickList(parent);
        list->setModel(items);
        return list;
    }
    case form::Kind::Button: return new QPushButton(text, parent);
    case form::Kind::RuleShadow:
    case form::Kind::RuleLight: {
        const QRect line = form::pixelGeometry(control);
        return addLine(parent, QLatin1String(control.name), line.topLeft(), line.left() + line.width(), line.height(),
                       form::ruleColour(control.kind));
    }
    }
    Q_UNREACHABLE();
}

} // namespace

ShopForm::ShopForm(QWidget *parent) : QWidget(parent)
{
    new FontScaledLayout(this, form::kClientSize, MainWindow::windowFont());
    createControls();
    connectControls();
    setKeyboardOrder();
}

void ShopForm::createControls()
{
    m_items = new QStringListModel(itemLabels(), this);
    QLabel *caption = nullptr; // waiting for its buddy, the next control
    for (const form::Control &row : form::kControls) {
        QWidget *parent =
            row.parent ? findChild<QWidget *>(QLatin1String(row.parent), Qt::FindDirectChildrenOnly) : this;
        QWidget *widget = named(makeControl(row, parent, m_items), row.name);
        static_cast<FontScaledLayout *>(parent->layout())->addPlaced(widget, form::placement(row));
        if (!row.enabled)
            widget->setEnabled(false);
        if (row.accessibleName)
            widget->setAccessibleName(tr(row.accessibleName));
        if (caption)
            std::exchange(caption, nullptr)->setBuddy(widget);
        if (row.kind == form::Kind::Caption)
            caption = static_cast<QLabel *>(widget);
    }
    findControls();
}

// The controls the form works on, and what the form's table does not say of them.
void ShopForm::findControls()
{
    m_tabs = findChild<QWidget *>(QStringLiteral("tabs"));
    m_shopIndex = findChild<QLineEdit *>(QStringLiteral("shopIndexEdit"));
    m_shopIndex->setMaxLength(kShopNumberLength);
    m_scroll = findChild<ShopScrollBar *>(QStringLiteral("shopScrollBar"));
    m_scroll->setValue(1);
    m_scroll->setAccessibleDescription(tr("Moves to another shop, saving the one shown"));
    m_type = findChild<QComboBox *>(QStringLiteral("shopTypeList"));
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        m_slots[slot] = findChild<QComboBox *>(QStringLiteral("slot%1List").arg(slot + 1));
    m_save = findChild<QPushButton *>(QStringLiteral("saveButton"));
    m_quit = findChild<QPushButton *>(QStringLiteral("quitButton"));
}

void ShopForm::connectControls()
{
    // The bar stays on the shown shop until the controller shows another.
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int target) {
        m_scroll->place(m_shown);
        emit moveRequested(target);
    });
    connect(m_scroll, &QScrollBar::sliderMoved, this, &ShopForm::thumbDragged);
    connect(m_shopIndex, &QLineEdit::returnPressed, this, &ShopForm::goToTypedShop);
    connect(m_shopIndex, &QLineEdit::textEdited, this, [this] { showRefusal({}); });
    // Left without Enter, the box shows the shop shown again.
    connect(m_shopIndex, &QLineEdit::editingFinished, this, [this] {
        if (!m_shopIndex->hasFocus())
            showShopNumber();
    });
    connect(m_type, &QComboBox::activated, this, [this](int entry) {
        emit typePicked(entry < m_typeLabels ? entry : m_unlabelledType.value_or(0));
    });
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        connect(m_slots[slot], &QComboBox::activated, this,
                [this, slot](int entry) { emit itemPicked(int(slot) + 1, entry); });
    connect(m_save, &QPushButton::clicked, this, &ShopForm::saveRequested);
    connect(m_quit, &QPushButton::clicked, this, &ShopForm::quitRequested);
}

// The number typed in the index box: the shop to move to, or refused where
// it was typed, with what is wrong, and never read in part.
void ShopForm::goToTypedShop()
{
    const std::variant<int, QString> typed = ShopNumber::read(m_shopIndex->text());
    if (const QString *problem = std::get_if<QString>(&typed)) {
        showRefusal(*problem);
        m_shopIndex->selectAll();
        return;
    }
    const int shop = std::get<int>(typed);
    showShopNumber();
    m_shopIndex->selectAll();
    if (shop != m_shown)
        emit moveRequested(shop);
}

void ShopForm::showShopNumber()
{
    showRefusal({});
    if (const QString text = QString::number(m_shown); m_shopIndex->text() != text)
        m_shopIndex->setText(text);
}

// A refused number is marked in the palette's colour for visited links
// (magenta or purple in most palettes, light and dark) and explained beside
// the box.
void ShopForm::showRefusal(const QString &problem)
{
    if (problem.isEmpty() && m_shopIndex->toolTip().isEmpty())
        return;
    QPalette palette = m_shopIndex->palette();
    palette.setColor(QPalette::Text, problem.isEmpty() ? QApplication::palette(m_shopIndex).color(QPalette::Text)
                                                       : palette.color(QPalette::LinkVisited));
    m_shopIndex->setPalette(palette);
    m_shopIndex->setToolTip(problem);
    m_shopIndex->setAccessibleDescription(problem);
    if (problem.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(m_shopIndex->mapToGlobal(QPoint(0, m_shopIndex->height())), problem, m_shopIndex);
}

void ShopForm::setKeyboardOrder()
{
    QList<QWidget *> order{m_shopIndex, m_type};
    order.append(QList<QWidget *>(m_slots.begin(), m_slots.end()));
    order << m_save << m_quit << m_tabs << m_scroll;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ShopForm::setTypeLabels(const QStringList &labels)
{
    m_type->clear();
    m_type->addItems(labels);
    m_typeLabels = int(labels.size());
    m_unlabelledType.reset();
    m_type->setCurrentIndex(0);
}

// Row by row, so that each list keeps its selection.
void ShopForm::setItemLabels(const QStringList &labels)
{
    for (int code = 0; code < labels.size() && code < m_items->rowCount(); ++code)
        m_items->setData(m_items->index(code), labels[code]);
}

// Only what changed is set: the controller shows the shop after every
// pick and move, and a thumb being dragged stays under the mouse.
void ShopForm::showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType)
{
    m_shown = index;
    showShopNumber();
    if (m_scroll->value() != index)
        m_scroll->place(index);
    showType(picks.type, unlabelledType);
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        if (m_slots[slot]->currentIndex() != picks.items[slot])
            m_slots[slot]->setCurrentIndex(picks.items[slot]);
}

// A code without a label is an extra last entry, named after it.
void ShopForm::showType(std::uint8_t code, std::optional<std::uint8_t> unlabelledType)
{
    if (m_unlabelledType != unlabelledType) {
        if (m_unlabelledType)
            m_type->removeItem(m_typeLabels);
        if (unlabelledType)
            m_type->addItem(QString::fromStdString(rom::ShopTypeLabels::text(*unlabelledType)));
        m_unlabelledType = unlabelledType;
    }
    if (const int entry = code < m_typeLabels ? code : m_typeLabels; m_type->currentIndex() != entry)
        m_type->setCurrentIndex(entry);
}

void ShopForm::enableEditing()
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_scroll, m_shopIndex, m_save, m_type})
        control->setEnabled(true);
    for (QComboBox *list : m_slots)
        list->setEnabled(true);
}

void ShopForm::endMouseAction() { m_scroll->endMouseAction(); }

void ShopForm::showDifferences(const QMap<int, QString> &differing)
{
    static_cast<PickList *>(m_type)->setMark(differing.value(0));
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        static_cast<PickList *>(m_slots[slot])->setMark(differing.value(int(slot) + 1));
}

void ShopForm::focusSlot(int slot)
{
    QComboBox *list = m_slots.at(std::size_t(slot - 1));
    if (list->isEnabled())
        list->setFocus(Qt::ShortcutFocusReason);
}
