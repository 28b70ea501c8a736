#include "MainWindow.h"

#include "AboutWindow.h"
#include "ImageLayout.h"
#include "ItemLabels.h"
#include "Line.h"
#include "ShopScrollBar.h"
#include "Twips.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>

namespace {

constexpr QSize kClientSize(twips::pixels(6600), twips::pixels(5280));

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *caption(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

// A closed drop-down list as wide as the form gives it; when it opens, its
// list is made wide enough for whole labels, including entries added since.
// The wheel changes the pick only once the list has the keyboard focus, so
// that scrolling over the window never changes a pick by accident.
class PickList : public QComboBox {
public:
    explicit PickList(QWidget *parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

    void showPopup() override
    {
        QAbstractItemView *popup = view();
        popup->setMinimumWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 8);
        QComboBox::showPopup();
    }

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};

// Text for a message box whose words all fit its width: a name longer than
// that (a file name with no blank, slash or hyphen to wrap at) gets places to
// wrap (U+200B) so that none of it is cut at the box's edge.
QString wrappable(const QString &text, const QFontMetrics &metrics)
{
    constexpr int kWidest = 360;
    QString result;
    int run = 0;
    for (const QChar c : text) {
        const int width = metrics.horizontalAdvance(c);
        if (c.isSpace() || c == u'/' || c == u'-') {
            run = 0;
        } else if (run + width > kWidest) {
            result += QChar(0x200B);
            run = 0;
        }
        result += c;
        run += c.isSpace() ? 0 : width;
    }
    return result;
}

QComboBox *pickList(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &geometry)
{
    auto *list = new PickList(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setEditable(false);
    list->setEnabled(false);
    list->setGeometry(geometry);
    return list;
}

} // namespace

MainWindow::MainWindow(rom::FileAccess &files, QWidget *parent) : QMainWindow(parent), m_dialog(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(EditorController::kTitle);
    setFont(windowFont());
    setAcceptDrops(true);

    createMenus();
    createControls();
    m_controller = std::make_unique<EditorController>(*this, m_dialog, files);
    m_controller->Form_Load();
    connectControls();
    setKeyboardOrder();
    fitCaptions();
}

MainWindow::~MainWindow() = default;

void MainWindow::openImage(const QByteArray &path) { m_controller->openFile(path.toStdString()); }

QFont MainWindow::windowFont()
{
    // Where Tahoma is missing, the style hint picks the nearest sans-serif.
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QIcon MainWindow::windowIconSet()
{
    QIcon icon(QStringLiteral(":/pictures/shop-16.xpm"));
    icon.addFile(QStringLiteral(":/pictures/shop-32.xpm"));
    return icon;
}

void MainWindow::createMenus()
{
    using Handler = void (EditorController::*)();
    const auto entry = [this](QMenu *menu, const char *name, const QString &text, const QKeySequence &key,
                              Handler handler) {
        QAction *action = named(menu->addAction(text), name);
        action->setShortcut(key);
        if (handler)
            connect(action, &QAction::triggered, this, [this, handler] { (m_controller.get()->*handler)(); });
        return action;
    };

    QMenu *file = named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
    entry(file, "mnuOpen", QStringLiteral("&Open ROM"), QKeySequence(Qt::CTRL | Qt::Key_O),
          &EditorController::mnuOpen_Click);
    entry(file, "mnuSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
          &EditorController::mnuSave_Click);
    named(file->addSeparator(), "mnuDummy1");
    entry(file, "mnuQuit", QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
          &EditorController::mnuQuit_Click);

    QMenu *options = named(menuBar()->addMenu(QStringLiteral("&Options")), "mnnuOptions");
    entry(options, "mnuDisabled", QStringLiteral("&Disabled Feature"), QKeySequence(Qt::Key_F3), nullptr)
        ->setEnabled(false);
    named(options->addSeparator(), "mnuDummy2");
    entry(options, "mnuAbout", QStringLiteral("&About"), QKeySequence(Qt::Key_F1), &EditorController::mnuAbout_Click);
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto *tabs = named(new QTabWidget(client), "TabStrip1");
    tabs->addTab(new QWidget(tabs), QStringLiteral("Shops"));
    tabs->setGeometry(twips::rect(120, 60, 6375, 4665));
    m_tabStrip = tabs;

    auto *frame = named(new QWidget(client), "Frame1");
    frame->setGeometry(twips::rect(210, 390, 6225, 4275));
    createShopPage(frame);

    auto *picture = named(new QLabel(client), "Image1");
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/shop-16.xpm")));
    picture->setGeometry(twips::rect(150, 4890, 240, 240));
    m_info = named(new QLabel(QStringLiteral("This editor also works on the Japanese Tarnwick."), client), "InfoLBL");
    m_info->setGeometry(twips::rect(450, 4890, 3435, 225));

    m_save = named(new QPushButton(QStringLiteral("&Save"), client), "SaveCMD");
    m_save->setGeometry(twips::rect(3960, 4830, 1245, 345));
    m_save->setEnabled(false);
    m_quit = named(new QPushButton(QStringLiteral("&Quit"), client), "cmdOK");
    m_quit->setGeometry(twips::rect(5220, 4830, 1245, 345));
}

void MainWindow::createShopPage(QWidget *frame)
{
    m_captions[0] = caption(frame, QStringLiteral("Label1"), QStringLiteral("Shop Index:"), twips::rect(150, 300, 915, 285));
    m_shopIndex = named(new QLineEdit(QStringLiteral("0"), frame), "ShopIndexTXT");
    m_shopIndex->setReadOnly(true);
    m_shopIndex->setMaxLength(3);
    m_shopIndex->setAccessibleName(QStringLiteral("Shop Index"));
    m_shopIndex->setGeometry(twips::rect(1140, 270, 705, 285));
    m_shopIndex->setEnabled(false);

    m_scroll = named(new ShopScrollBar(rom::kShopCount - 1, frame), "HScroll");
    m_scroll->setValue(1);
    m_scroll->setAccessibleName(QStringLiteral("Shop Index"));
    m_scroll->setAccessibleDescription(QStringLiteral("Moves to another shop, saving the one shown"));
    m_scroll->setGeometry(twips::rect(1140, 540, 705, 180));
    m_scroll->setEnabled(false);

    m_captions[1] = caption(frame, QStringLiteral("Label2"), QStringLiteral("Shop Type:"), twips::rect(2700, 300, 885, 285));
    m_type = pickList(frame, QStringLiteral("SpBitCBO"), QStringLiteral("Shop Type"), twips::rect(3660, 240, 2000, 315));

    const QPoint ruleStart = twips::point(210, 840);
    addLine(frame, QStringLiteral("Line1"), ruleStart - QPoint(0, 1), twips::pixels(5970), 2, QPalette::Dark);
    addLine(frame, QStringLiteral("Line2"), ruleStart, twips::pixels(5970), 1, QPalette::Light);

    auto *items = new QStringListModel(this);
    QStringList labels;
    for (int code = 0; code < rom::ItemLabels::count(); ++code)
        labels.append(QString::fromLatin1(rom::ItemLabels::label(code).data()));
    items->setStringList(labels);
    for (int slot = 1; slot <= int(m_slots.size()); ++slot) {
        const int offset = 360 * (slot - 1);
        const QString name = QStringLiteral("Item Slot %1").arg(slot);
        m_captions[std::size_t(slot + 1)] = caption(frame, QStringLiteral("Label%1").arg(slot + 2), name + u':',
                                                    twips::rect(360, 1080 + offset, 915, 285));
        QComboBox *list = pickList(frame, QStringLiteral("Slot%1CBO").arg(slot), name,
                                   twips::rect(1350, 1020 + offset, 2000, 315));
        list->setModel(items);
        m_slots[std::size_t(slot - 1)] = list;
    }
    m_captions[0]->setBuddy(m_shopIndex);
    m_captions[1]->setBuddy(m_type);
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        m_captions[slot + 2]->setBuddy(m_slots[slot]);
}

void MainWindow::connectControls()
{
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { m_controller->HScroll_Change(); });
    connect(m_scroll, &QScrollBar::sliderMoved, this, [this] { m_controller->HScroll_Scroll(); });
    connect(m_save, &QPushButton::clicked, this, [this] { m_controller->SaveCMD_Click(); });
    connect(m_quit, &QPushButton::clicked, this, [this] { m_controller->cmdOK_Click(); });
}

void MainWindow::setKeyboardOrder()
{
    QList<QWidget *> order{m_shopIndex, m_type};
    order.append(QList<QWidget *>(m_slots.begin(), m_slots.end()));
    order << m_save << m_quit << m_tabStrip << m_scroll;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// The layout is made for Tahoma. With a wider font, a caption grows to the
// left (they are right-aligned) and the note at the bottom wraps, so that no
// text is cut.
void MainWindow::fitCaptions()
{
    // Captions are plain one-line texts without margins: their width is the
    // text's, measured as the label measures it, without laying it out.
    for (QLabel *label : m_captions) {
        QRect geometry = label->geometry();
        const int width = label->fontMetrics().boundingRect(QRect(), int(label->alignment()), label->text()).width();
        geometry.setLeft(std::min(geometry.left(), geometry.right() + 1 - width));
        label->setGeometry(geometry);
    }
    if (m_info->sizeHint().width() > m_info->width()) {
        m_info->setWordWrap(true);
        QRect geometry = m_info->geometry();
        geometry.setTop(m_save->geometry().top());
        geometry.setRight(m_save->geometry().left() - 6);
        geometry.setHeight(m_info->heightForWidth(geometry.width()));
        m_info->setGeometry(geometry);
    }
}

// --- EditorView

QString MainWindow::shopIndexText() const { return m_shopIndex->text(); }

void MainWindow::setShopIndexText(const QString &text) { m_shopIndex->setText(text); }

int MainWindow::scrollValue() const { return m_scroll->value(); }

void MainWindow::setScrollValue(int value) { m_scroll->setValue(value); }

void MainWindow::placeScroll(int value) { m_scroll->place(value); }

void MainWindow::addTypeEntry(const QString &label) { m_type->addItem(label); }

void MainWindow::removeTypeEntry(int entry) { m_type->removeItem(entry); }

int MainWindow::typeSelection() const { return m_type->currentIndex(); }

void MainWindow::setTypeSelection(int entry) { m_type->setCurrentIndex(entry); }

int MainWindow::slotSelection(int slot) const { return m_slots.at(std::size_t(slot - 1))->currentIndex(); }

void MainWindow::setSlotSelection(int slot, int entry) { m_slots.at(std::size_t(slot - 1))->setCurrentIndex(entry); }

void MainWindow::enableEditing()
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_scroll, m_shopIndex, m_save, m_type})
        control->setEnabled(true);
    for (QComboBox *list : m_slots)
        list->setEnabled(true);
}

void MainWindow::setTitle(const QString &title) { setWindowTitle(title); }

void MainWindow::showError(const QString &message)
{
    // The box takes the mouse button's release from the scroll bar, which
    // would otherwise go on repeating the press or dragging the thumb.
    m_scroll->endMouseAction();
    QMessageBox box(QMessageBox::Warning, EditorController::kTitle, QString(), QMessageBox::Ok, this);
    box.setText(wrappable(message, box.fontMetrics()));
    box.exec();
}

void MainWindow::showAbout()
{
    // A new window each time, so its texts are built afresh.
    AboutWindow about(this);
    about.exec();
}

void MainWindow::endProgram() { close(); }

// --- window events

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Like Quit: the shown shop is not saved.
    m_controller->Form_Unload();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    // The name's own bytes, which the URL carries percent-encoded: decoded
    // to text, a name that is not valid UTF-8 would name another file.
    const QByteArray path =
        QByteArray::fromPercentEncoding(event->mimeData()->urls().constFirst().path(QUrl::FullyEncoded).toLatin1());
    event->acceptProposedAction();
    // Open after the drop has finished, so the program it came from is not
    // kept waiting by a message about the file.
    QTimer::singleShot(0, this, [this, path] { openImage(path); });
}
