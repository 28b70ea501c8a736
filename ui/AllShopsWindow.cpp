#include "AllShopsWindow.h"

#include "CellMarkDelegate.h"
#include "ShopFilterModel.h"
#include "ShopTableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Widths that fit the built-in labels; longer names of the user's are
// elided, and the columns can be widened.
constexpr int kShopWidth = 44;
constexpr int kTypeWidth = 124;
constexpr int kSlotWidth = 124;

} // namespace

AllShopsWindow::AllShopsWindow(ShopTableModel &shops, QWidget *parent)
    : QDialog(parent, Qt::Window), m_filter(new ShopFilterModel(this))
{
    m_filter->setSourceModel(&shops);
    setObjectName(QStringLiteral("allShopsWindow"));
    createControls();
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->search(text);
        showTitle();
    });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { activateRow(0); });
    connect(m_table, &QTableView::activated, this, [this](const QModelIndex &index) { activateRow(index.row()); });
    connect(m_filter, &QAbstractItemModel::modelReset, this, &AllShopsWindow::showTitle);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &AllShopsWindow::showTitle);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &AllShopsWindow::showTitle);
    showTitle();
}

void AllShopsWindow::createControls()
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setAccessibleName(tr("Search"));
    m_search->setPlaceholderText(tr("Search: part of an item or type name, or a hex code such as 2a"));
    m_search->setClearButtonEnabled(true);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("shopsTable"));
    m_table->setAccessibleName(tr("All shops"));
    m_table->setModel(m_filter);
    auto *marks = new CellMarkDelegate(m_table);
    marks->addMark(ShopFilterModel::MatchRole, CellMarkDelegate::Shape::Tint);
    m_table->setItemDelegate(marks);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ShopTableModel::ShopColumn, Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setColumnWidth(ShopTableModel::ShopColumn, kShopWidth);
    m_table->setColumnWidth(ShopTableModel::TypeColumn, kTypeWidth);
    for (int column = ShopTableModel::FirstSlotColumn; column < ShopTableModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, kSlotWidth);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    resize(kShopWidth + kTypeWidth + 8 * kSlotWidth + 40, 520);
}

// The title says how many shops the search keeps.
void AllShopsWindow::showTitle()
{
    const int shown = m_filter->rowCount();
    setWindowTitle(m_search->text().isEmpty()
                       ? tr("All Shops")
                       : tr("All Shops - %1 of %2 shops match").arg(shown).arg(m_filter->sourceModel()->rowCount()));
}

void AllShopsWindow::activateRow(int row)
{
    if (row >= 0 && row < m_filter->rowCount())
        emit shopActivated(m_filter->shopAt(row));
}
