#include "MainWindow.h"

#include "AboutWindow.h"
#include "AllShopsWindow.h"
#include "FormLayout.h"
#include "ImageLayout.h"
#include "ItemLabels.h"
#include "Line.h"
#include "MessageBox.h"
#include "PickList.h"
#include "ShopScrollBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStringListModel>
#include <QTabWidget>
#include <QTimer>

#include <map>

namespace {

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
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case form::Kind::TabStrip: {
        auto *tabs = new QTabWidget(parent);
        tabs->addTab(new QWidget(tabs), text);
        return tabs;
    }
    case form::Kind::Frame: return new QWidget(parent);
    case form::Kind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setPixmap(QPixmap(text));
        return picture;
    }
    case form::Kind::Label: return new QLabel(text, parent);
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
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        if (!m_controller->commitData(manager.allowsInteraction()))
            manager.cancel();
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::openImage(const QByteArray &path) { m_controller->openFile(path.toStdString()); }

void MainWindow::start(const QByteArray &namesFile, const QByteArray &image)
{
    m_controller->start(namesFile.toStdString(), image.toStdString());
}

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
    for (const form::Menu &row : form::kMenus) {
        QMenu *menu = named(menuBar()->addMenu(QString::fromUtf8(row.text)), row.name);
        for (const form::MenuEntry &entry : row.entries) {
            if (!entry.text) {
                named(menu->addSeparator(), entry.name);
                continue;
            }
            QAction *action = named(menu->addAction(QString::fromUtf8(entry.text)), entry.name);
            action->setShortcuts(form::shortcuts(entry));
            if (!entry.enabled)
                action->setEnabled(false);
            if (const auto handler = entry.handler)
                connect(action, &QAction::triggered, this, [this, handler] { (m_controller.get()->*handler)(); });
        }
    }
    m_undo = findChild<QAction *>(QStringLiteral("mnuUndo"));
    m_redo = findChild<QAction *>(QStringLiteral("mnuRedo"));
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(form::kClientSize);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto *items = m_items = new QStringListModel(itemLabels(), this);
    QLabel *caption = nullptr; // waiting for its buddy, the next control
    std::size_t captions = 0;
    for (const form::Control &row : form::kControls) {
        QWidget *parent =
            row.parent ? client->findChild<QWidget *>(QLatin1String(row.parent), Qt::FindDirectChildrenOnly) : client;
        QWidget *widget = named(makeControl(row, parent, items), row.name);
        widget->setGeometry(form::pixelGeometry(row));
        if (!row.enabled)
            widget->setEnabled(false);
        if (row.accessibleName)
            widget->setAccessibleName(QString::fromUtf8(row.accessibleName));
        if (caption)
            std::exchange(caption, nullptr)->setBuddy(widget);
        if (row.kind == form::Kind::Caption)
            caption = m_captions.at(captions++) = static_cast<QLabel *>(widget);
    }
    findControls();
}

// The controls the window works on, and what the form's table does not say of them.
void MainWindow::findControls()
{
    m_tabStrip = findChild<QWidget *>(QStringLiteral("TabStrip1"));
    m_shopIndex = findChild<QLineEdit *>(QStringLiteral("ShopIndexTXT"));
    m_shopIndex->setReadOnly(true);
    m_shopIndex->setMaxLength(3);
    m_scroll = findChild<ShopScrollBar *>(QStringLiteral("HScroll"));
    m_scroll->setValue(1);
    m_scroll->setAccessibleDescription(QStringLiteral("Moves to another shop, saving the one shown"));
    m_type = findChild<QComboBox *>(QStringLiteral("SpBitCBO"));
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        m_slots[slot] = findChild<QComboBox *>(QStringLiteral("Slot%1CBO").arg(slot + 1));
    m_info = findChild<QLabel *>(QStringLiteral("InfoLBL"));
    m_save = findChild<QPushButton *>(QStringLiteral("SaveCMD"));
    m_quit = findChild<QPushButton *>(QStringLiteral("cmdOK"));
}

void MainWindow::connectControls()
{
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { m_controller->HScroll_Change(); });
    connect(m_scroll, &QScrollBar::sliderMoved, this, [this] { m_controller->HScroll_Scroll(); });
    connect(m_type, &QComboBox::activated, this, [this] { m_controller->SpBitCBO_Click(); });
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        connect(m_slots[slot], &QComboBox::activated, this, [this, slot] { m_controller->SlotCBO_Click(int(slot) + 1); });
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
    for (const char *entry :
         {"mnuExportTable", "mnuImportTable", "mnuCreatePatch", "mnuFixChecksum", "mnuGoToShop", "mnuAllShops"})
        findChild<QAction *>(QLatin1String(entry))->setEnabled(true);
}

// Row by row, so that each list keeps its selection.
void MainWindow::setItemLabels(const QStringList &labels)
{
    for (int code = 0; code < labels.size() && code < m_items->rowCount(); ++code)
        m_items->setData(m_items->index(code), labels[code]);
}

std::optional<int> MainWindow::askShopNumber(int current)
{
    bool ok = false;
    const int shop = QInputDialog::getInt(this, QStringLiteral("Go to Shop"), QStringLiteral("Shop number (0-127):"),
                                          current, 0, rom::kShopCount - 1, 1, &ok);
    return ok ? std::optional<int>(shop) : std::nullopt;
}

std::string MainWindow::chooseFile(FileChoice choice)
{
    struct Dialog {
        const char *title;
        const char *filters;
        const char *suggested; // a name to save under; nullptr to open a file
    };
    static const std::map<FileChoice, Dialog> kDialogs = {
        {FileChoice::ItemNamesToRead, {"Item Names", "Item names (*.txt);;All files (*)", nullptr}},
        {FileChoice::ItemNamesToWrite, {"Export Item Names", "Item names (*.txt);;All files (*)", "item-names.txt"}},
        {FileChoice::TableToRead, {"Import Table", "CSV tables (*.csv);;All files (*)", nullptr}},
        {FileChoice::TableToWrite, {"Export Table", "CSV tables (*.csv);;All files (*)", "shops.csv"}},
        {FileChoice::CleanImage,
         {"Create Patch: the Clean Image", "Images (*.smc *.swc *.fig *.sfc);;All files (*)", nullptr}},
        {FileChoice::PatchToWrite, {"Create Patch", "BPS patches (*.bps);;IPS patches (*.ips)", "shops.bps"}},
    };
    const Dialog &dialog = kDialogs.at(choice);
    m_scroll->endMouseAction();
    QString filter;
    QString path =
        dialog.suggested
            ? QFileDialog::getSaveFileName(this, QLatin1String(dialog.title), QLatin1String(dialog.suggested),
                                           QLatin1String(dialog.filters), &filter, QFileDialog::DontUseNativeDialog)
            : QFileDialog::getOpenFileName(this, QLatin1String(dialog.title), QString(), QLatin1String(dialog.filters),
                                           nullptr, QFileDialog::DontUseNativeDialog);
    // A patch's kind is its name's ending: the filter chosen gives one if the name has none.
    if (choice == FileChoice::PatchToWrite && !path.isEmpty() && !path.endsWith(QLatin1String(".ips"), Qt::CaseInsensitive) &&
        !path.endsWith(QLatin1String(".bps"), Qt::CaseInsensitive))
        path += filter.startsWith(QLatin1String("IPS")) ? QStringLiteral(".ips") : QStringLiteral(".bps");
    return QFile::encodeName(path).toStdString();
}

void MainWindow::showInformation(const QString &message)
{
    QMessageBox box(QMessageBox::Information, EditorController::kTitle, QString(), QMessageBox::Ok, this);
    (void)ask(box, message);
}

bool MainWindow::confirm(const QString &question)
{
    QMessageBox box(QMessageBox::Question, EditorController::kTitle, QString(), QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setDefaultButton(QMessageBox::No);
    return ask(box, question) == QMessageBox::Yes;
}

void MainWindow::showAllShops()
{
    if (!m_allShops) {
        m_allShops = new AllShopsWindow(m_controller->shopTable(), this);
        // The shop chosen there shows here, in front.
        connect(m_allShops, &AllShopsWindow::shopActivated, this, [this](int index) {
            m_controller->AllShops_Activate(index);
            raise();
            activateWindow();
        });
        // First shown below this window's top, centred on it, on the screen.
        const QRect screen = this->screen()->availableGeometry();
        QRect place(QPoint(), m_allShops->size());
        place.moveCenter(frameGeometry().center());
        place.moveTop(frameGeometry().top() + 40);
        m_allShops->move(place.topLeft().x() + std::max(0, screen.left() - place.left()) -
                             std::max(0, place.right() - screen.right()),
                         std::max(screen.top(), std::min(place.top(), screen.bottom() - place.height())));
    }
    m_allShops->show();
    m_allShops->raise();
    m_allShops->activateWindow();
}

bool MainWindow::allShopsShown() const { return m_allShops && m_allShops->isVisible(); }

// The marker of unsaved picks goes at the end, after the image's name.
void MainWindow::setTitle(const QString &title) { setWindowTitle(title + QStringLiteral("[*]")); }

void MainWindow::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, EditorController::kTitle, QString(), QMessageBox::Ok, this);
    (void)ask(box, message);
}

int MainWindow::ask(QMessageBox &box, const QString &message) { return message_box::ask(box, message); }

void MainWindow::showAbout()
{
    // A new window each time, so its texts are built afresh.
    AboutWindow about(this);
    about.exec();
}

void MainWindow::endProgram() { close(); }

void MainWindow::setModified(bool modified) { setWindowModified(modified); }

void MainWindow::setUndoState(const UndoState &state)
{
    m_undo->setEnabled(state.canUndo);
    m_undo->setText(state.canUndo ? QStringLiteral("&Undo %1").arg(state.undoText) : QStringLiteral("&Undo"));
    m_redo->setEnabled(state.canRedo);
    m_redo->setText(state.canRedo ? QStringLiteral("&Redo %1").arg(state.redoText) : QStringLiteral("&Redo"));
}

EditorView::Conflict MainWindow::askAboutConflict(const QString &message)
{
    QMessageBox box(QMessageBox::Question, EditorController::kTitle, QString(), QMessageBox::NoButton, this);
    QAbstractButton *overwrite = box.addButton(QStringLiteral("&Overwrite"), QMessageBox::AcceptRole);
    QAbstractButton *takeFile = box.addButton(QStringLiteral("&Take the File's Version"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    (void)ask(box, message);
    return box.clickedButton() == overwrite ? Conflict::Overwrite
           : box.clickedButton() == takeFile ? Conflict::TakeFile
                                             : Conflict::Cancel;
}

EditorView::Unsaved MainWindow::askAboutUnsaved(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, EditorController::kTitle, QString(),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (ask(box, message)) {
    case QMessageBox::Save: return Unsaved::Save;
    case QMessageBox::Discard: return Unsaved::Discard;
    default: return Unsaved::Cancel;
    }
}

// --- window events

bool MainWindow::event(QEvent *event)
{
    // A modal window (a message, a dialog, About) takes the mouse button's
    // release from the scroll bar, which would otherwise go on repeating a
    // press or dragging the thumb behind it.
    if (event->type() == QEvent::WindowBlocked)
        m_scroll->endMouseAction();
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Once the activation has settled, and only if no modal window took it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow() && !QApplication::activeModalWidget())
                m_controller->Form_Activate();
        });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Quit and the window's close button both come here.
    if (!m_controller->Form_QueryUnload()) {
        event->ignore();
        return;
    }
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
