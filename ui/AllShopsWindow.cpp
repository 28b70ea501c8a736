#include "AllShopsWindow.h"

#include "CellMarkDelegate.h"
#include "ShopFilterModel.h"
#include "ShopTableModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QHash>
#include <QScreen>
#include <QSet>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A column is never made wider than this many average characters: a longer
// name is elided, and the user can widen its column.
constexpr int kWidestColumn = 30;
// Room above and below a row's text.
constexpr int kRowPadding = 6;
// The labels of a column that are measured whole to find its widest: those
// whose characters are widest, as kerning can change the order a little.
constexpr int kMeasuredLabels = 3;
// Rows shown when the window opens.
constexpr int kRowsShown = 24;
// The most of the screen's width and height the window opens on, in tenths.
constexpr int kScreenTenths = 9;

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
    connect(&shops, &QAbstractItemModel::modelReset, this, &AllShopsWindow::fitColumns);
    // New item names relabel every row; a shop written relabels one, and the
    // columns stay as they are, as they do when only marks change.
    connect(&shops, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                const bool relabelled = roles.isEmpty() || roles.contains(Qt::DisplayRole);
                if (relabelled && from.row() == 0 && to.row() == m_filter->sourceModel()->rowCount() - 1)
                    fitColumns();
            });
    showTitle();
    // A style sheet's font is known once polished.
    ensurePolished();
    fitToFont();
}

void AllShopsWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_table)
        fitToFont();
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
    // Cells that differ from the image compared with (View > Compare with Image...).
    marks->addMark(ShopTableModel::DiffersRole, CellMarkDelegate::Shape::Underline, QPalette::LinkVisited);
    m_table->setItemDelegate(marks);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ShopTableModel::ShopColumn, Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
}

// Rows as tall as the font needs, columns as wide; a window not shown yet
// is made to fit them.
void AllShopsWindow::fitToFont()
{
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + kRowPadding);
    fitColumns();
    if (!isVisible())
        resize(fittingSize());
}

// Each column as wide as its header and its cells, up to a bound. Shaping
// text is what costs: a column's different labels are put in order by the
// sum of their characters' advances (each character measured once), and
// only the widest few are measured whole, in bold as a match shows them;
// the view sizes only the widest of those cells.
void AllShopsWindow::fitColumns()
{
    const int widest = m_table->fontMetrics().averageCharWidth() * kWidestColumn;
    QFont bold = m_table->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    QHash<QChar, int> advances;
    const auto estimate = [&](const QString &text) {
        int sum = 0;
        for (const QChar c : text) {
            auto known = advances.constFind(c);
            if (known == advances.constEnd())
                known = advances.insert(c, metrics.horizontalAdvance(c));
            sum += *known;
        }
        return sum;
    };
    const QAbstractItemModel *shops = m_filter->sourceModel();
    // A cell the search hides: its text and the margins the style gives an item.
    const int margins = 2 * (m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1);
    for (int column = 0; column < ShopTableModel::ColumnCount; ++column) {
        QSet<QString> seen;
        std::vector<std::pair<int, QModelIndex>> labels;
        for (int row = 0; row < shops->rowCount(); ++row) {
            const QModelIndex cell = shops->index(row, column);
            if (const QString text = cell.data().toString(); !seen.contains(text)) {
                seen.insert(text);
                labels.emplace_back(estimate(text), cell);
            }
        }
        const auto longest = labels.begin() + std::min<std::ptrdiff_t>(kMeasuredLabels, std::ssize(labels));
        std::partial_sort(labels.begin(), longest, labels.end(),
                          [](const auto &a, const auto &b) { return a.first > b.first; });
        int width = 0;
        QModelIndex widestCell;
        for (auto label = labels.begin(); label != longest; ++label)
            if (const int advance = metrics.horizontalAdvance(label->second.data().toString()); advance > width) {
                width = advance;
                widestCell = label->second;
            }
        const QModelIndex shown = m_filter->mapFromSource(widestCell);
        const int cells = shown.isValid() ? m_table->sizeHintForIndex(shown).width() : width + margins;
        m_table->setColumnWidth(column,
                                std::max(m_table->horizontalHeader()->sectionSizeHint(column), std::min(cells, widest)));
    }
}

// Every column and kRowsShown rows, within most of the screen.
QSize AllShopsWindow::fittingSize() const
{
    const QMargins margins = layout()->contentsMargins();
    const int frame = 2 * m_table->frameWidth();
    const int width = m_table->horizontalHeader()->length() + m_table->verticalScrollBar()->sizeHint().width() + frame;
    const int height = m_table->horizontalHeader()->sizeHint().height() +
                       kRowsShown * m_table->verticalHeader()->defaultSectionSize() + frame +
                       m_search->sizeHint().height() + layout()->spacing();
    const QSize fitting = QSize(width, height).grownBy(margins);
    return fitting.boundedTo(screen()->availableGeometry().size() * kScreenTenths / 10);
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
