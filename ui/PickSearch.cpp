#include "PickSearch.h"

#include "LabelSearch.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

// Rows of matches the popup has room for; more scroll.
constexpr int kVisibleRows = 10;
// Pixels beside a label in a row of matches, both sides together.
constexpr int kTextMargins = 12;
// Pixels around the note that nothing matches, so that it lines up with the text typed.
constexpr int kNoteMargin = 3;

} // namespace

PickSearch::PickSearch(QComboBox *list)
    : QFrame(list, Qt::Popup), m_list(list), m_text(new QLineEdit(this)), m_matches(new QListView(this)),
      m_none(new QLabel(tr("No entry holds this text"), this)), m_shown(new QStringListModel(this))
{
    setObjectName(QStringLiteral("pickSearch"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    m_text->setObjectName(QStringLiteral("pickSearchText"));
    m_text->setAccessibleName(tr("Search %1").arg(list->accessibleName()));
    m_text->installEventFilter(this);
    m_matches->setObjectName(QStringLiteral("pickSearchMatches"));
    m_matches->setModel(m_shown);
    m_matches->setFocusPolicy(Qt::NoFocus);
    m_matches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_matches->setUniformItemSizes(true);
    m_matches->setMouseTracking(true);
    m_none->setEnabled(false);
    m_none->setMargin(kNoteMargin);
    m_none->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_text);
    layout->addWidget(m_matches, 1);
    layout->addWidget(m_none, 1);
    connect(m_text, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.isEmpty())
            close();
        else
            showMatches(text);
    });
    connect(m_matches, &QAbstractItemView::entered, m_matches, &QAbstractItemView::setCurrentIndex);
    connect(m_matches, &QAbstractItemView::clicked, this, &PickSearch::pickChosen);
}

void PickSearch::open(const QString &typed)
{
    m_labels.clear();
    for (int entry = 0; entry < m_list->count(); ++entry)
        m_labels << m_list->itemText(entry);
    m_text->setText(typed);
    showMatches(typed);
    place();
    show();
    m_text->setFocus(Qt::PopupFocusReason);
}

void PickSearch::showMatches(const QString &text)
{
    m_entries = label_search::matches(m_labels, text);
    QStringList shown;
    for (int entry : m_entries)
        shown << m_labels[entry];
    m_shown->setStringList(shown);
    m_matches->setCurrentIndex(m_shown->index(0));
    m_matches->setVisible(!shown.isEmpty());
    m_none->setVisible(shown.isEmpty());
}

// Under the list, wide enough for every whole label, so that it keeps its
// width while the user types; above the list where the screen has no room
// below.
void PickSearch::place()
{
    int widest = 0;
    for (const QString &label : std::as_const(m_labels))
        widest = std::max(widest, m_matches->fontMetrics().horizontalAdvance(label));
    const int frames = 2 * (frameWidth() + m_matches->frameWidth());
    const int width = std::max(m_list->width(), widest + kTextMargins + m_matches->verticalScrollBar()->sizeHint().width() + frames);
    const int rowHeight = std::max(m_matches->sizeHintForRow(0), m_matches->fontMetrics().height());
    const QSize size(width, m_text->sizeHint().height() + kVisibleRows * rowHeight + frames);
    QPoint at = m_list->mapToGlobal(QPoint(0, m_list->height()));
    if (const QScreen *screen = m_list->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + size.height() > room.bottom() + 1)
            at.setY(m_list->mapToGlobal(QPoint(0, 0)).y() - size.height());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    }
    setGeometry(QRect(at, size));
}

void PickSearch::pickChosen()
{
    const int row = m_matches->currentIndex().row();
    if (row < 0 || row >= m_entries.size())
        return;
    close();
    emit picked(m_entries[row]);
}

bool PickSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_text || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: pickChosen(); return true;
    case Qt::Key_Escape: close(); return true;
    default: return moveChoice(key->key());
    }
}

// Up, Down, Page Up and Page Down move the choice as they do in a list.
bool PickSearch::moveChoice(int key)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp && key != Qt::Key_PageDown)
        return false;
    QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(m_matches, &move);
    return true;
}
