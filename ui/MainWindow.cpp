#include "MainWindow.h"

#include "AboutWindow.h"
#include "AllShopsWindow.h"
#include "EditorController.h"
#include "FormLayout.h"
#include "ImagePath.h"
#include "ShopForm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

namespace {

// A dropped file's name as the file layer takes it. On POSIX systems, the
// name's own bytes, which the URL carries percent-encoded: decoded to text,
// a name that is not valid UTF-8 would name another file. On Windows, the
// URL holds the UTF-16 name ("/C:/..."), which toLocalFile gives back.
QByteArray droppedPath(const QUrl &url)
{
#ifdef _WIN32
    return QByteArray::fromStdString(image_path::fileText(url.toLocalFile()));
#else
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
#endif
}

} // namespace

MainWindow::MainWindow(rom::FileAccess &files, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(EditorController::title());
    // Before the controls exist, which then are laid out once, in it.
    setFont(windowFont());
    setAcceptDrops(true);
    m_form = new ShopForm(this);
    setCentralWidget(m_form);
    createStatusBar();

    m_controller = std::make_unique<EditorController>(*this, m_prompts, m_dialog, files);
    createMenus();
    connectMenus();
    connectForm();
    addShortcuts();
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

// The menus of the form's table; Undo and Redo come from the history, so
// that their state and texts ("&Undo Shop 12") follow it.
void MainWindow::createMenus()
{
    QUndoStack *history = m_controller->undoStack();
    for (const form::Menu &row : form::kMenus) {
        QMenu *menu = menuBar()->addMenu(tr(row.text));
        menu->setObjectName(QLatin1String(row.name));
        for (const form::MenuEntry &entry : row.entries) {
            const std::string_view name = entry.name;
            QAction *action = !entry.text             ? menu->addSeparator()
                              : name == "undoAction" ? history->createUndoAction(menu, tr(entry.text))
                              : name == "redoAction" ? history->createRedoAction(menu, tr(entry.text))
                                                     : new QAction(tr(entry.text), menu);
            action->setObjectName(QLatin1String(entry.name));
            action->setShortcuts(form::shortcuts(entry));
            if (!entry.enabledAtStart())
                action->setEnabled(false);
            if (entry.availability == form::Availability::WithImage)
                m_imageActions.append(action);
            menu->addAction(action);
            m_actions.emplace(name, action);
        }
    }
}

// Under the form: which file is open, and where the shown shop is in it.
void MainWindow::createStatusBar()
{
    m_fileName = new QLabel(this);
    m_fileName->setObjectName(QStringLiteral("fileNameLabel"));
    m_fileName->setTextFormat(Qt::PlainText);
    m_shopPlace = new QLabel(this);
    m_shopPlace->setObjectName(QStringLiteral("shopPlaceLabel"));
    m_shopPlace->setTextFormat(Qt::PlainText);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_fileName, 1);
    statusBar()->addPermanentWidget(m_shopPlace);
}

void MainWindow::connectMenus()
{
    EditorController *controller = m_controller.get();
    m_revert = action("revertAction");
    connect(action("openAction"), &QAction::triggered, controller, &EditorController::open);
    connect(action("saveAction"), &QAction::triggered, controller, &EditorController::save);
    connect(action("reloadAction"), &QAction::triggered, controller, &EditorController::reload);
    connect(action("exportTableAction"), &QAction::triggered, controller, &EditorController::exportTable);
    connect(action("importTableAction"), &QAction::triggered, controller, &EditorController::importTable);
    connect(action("createPatchAction"), &QAction::triggered, controller, &EditorController::createPatch);
    connect(action("fixChecksumAction"), &QAction::triggered, controller, &EditorController::fixChecksum);
    connect(action("quitAction"), &QAction::triggered, controller, &EditorController::quit);
    connect(action("goToShopAction"), &QAction::triggered, controller, &EditorController::goToShop);
    connect(action("copyShopAction"), &QAction::triggered, controller, &EditorController::copyShop);
    connect(action("pasteShopAction"), &QAction::triggered, controller, &EditorController::pasteShop);
    connect(action("revertAction"), &QAction::triggered, controller, &EditorController::revertToClean);
    connect(action("compareAction"), &QAction::triggered, controller, &EditorController::compareWithImage);
    connect(action("allShopsAction"), &QAction::triggered, controller, &EditorController::showAllShops);
    connect(action("itemNamesAction"), &QAction::triggered, controller, &EditorController::chooseItemNames);
    connect(action("builtInNamesAction"), &QAction::triggered, controller, &EditorController::useBuiltInItemNames);
    connect(action("imageNamesAction"), &QAction::triggered, controller,
            &EditorController::chooseItemNamesFromImage);
    connect(action("exportNamesAction"), &QAction::triggered, controller, &EditorController::exportItemNames);
    connect(action("aboutAction"), &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::connectForm()
{
    EditorController *controller = m_controller.get();
    connect(m_form, &ShopForm::typePicked, controller, &EditorController::pickType);
    connect(m_form, &ShopForm::itemPicked, controller, &EditorController::pickItem);
    connect(m_form, &ShopForm::moveRequested, controller, &EditorController::moveToShop);
    connect(m_form, &ShopForm::thumbDragged, controller, &EditorController::saveBeforeMoving);
    connect(m_form, &ShopForm::saveRequested, controller, &EditorController::save);
    connect(m_form, &ShopForm::quitRequested, controller, &EditorController::quit);
}

// Keys that work wherever the focus is, without a menu entry: the next and
// previous shop, and the item slots by number.
void MainWindow::addShortcuts()
{
    const auto add = [this](const QString &name, const QKeySequence &key, auto slot) {
        auto *shortcut = new QAction(this);
        shortcut->setObjectName(name);
        shortcut->setShortcut(key);
        shortcut->setShortcutContext(Qt::WindowShortcut);
        addAction(shortcut);
        connect(shortcut, &QAction::triggered, this, slot);
    };
    add(QStringLiteral("nextShopAction"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { m_controller->moveBy(1); });
    add(QStringLiteral("previousShopAction"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { m_controller->moveBy(-1); });
    for (int slot = 1; slot <= rom::ShopRecord::kSlotCount; ++slot)
        add(QStringLiteral("slot%1Action").arg(slot), QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + slot)),
            [this, slot] { m_form->focusSlot(slot); });
}

QAction *MainWindow::action(std::string_view name) const { return m_actions.at(name); }

// --- EditorView

void MainWindow::setTypeLabels(const QStringList &labels) { m_form->setTypeLabels(labels); }

void MainWindow::setItemLabels(const QStringList &labels) { m_form->setItemLabels(labels); }

void MainWindow::showShop(int index, const rom::ShopRecord &picks, std::optional<std::uint8_t> unlabelledType)
{
    m_form->showShop(index, picks, unlabelledType);
}

// The marker of unsaved picks goes at the end, after the image's name.
void MainWindow::setTitle(const QString &title) { setWindowTitle(title + QStringLiteral("[*]")); }

void MainWindow::showLocation(const QString &fileName, const QString &path, const QString &shop)
{
    m_fileName->setText(fileName); // a label skips a text it already shows
    if (const QString nativePath = QDir::toNativeSeparators(path); m_fileName->toolTip() != nativePath)
        m_fileName->setToolTip(nativePath);
    m_shopPlace->setText(shop);
}

void MainWindow::setModified(bool modified)
{
    if (isWindowModified() != modified)
        setWindowModified(modified);
}

void MainWindow::enableEditing()
{
    m_form->enableEditing();
    for (QAction *imageAction : std::as_const(m_imageActions))
        imageAction->setEnabled(true);
}

void MainWindow::showDifferences(bool comparing, const QMap<int, QString> &differing)
{
    m_revert->setEnabled(comparing);
    m_form->showDifferences(differing);
}

void MainWindow::copyText(const QString &text) { QGuiApplication::clipboard()->setText(text); }

QString MainWindow::pastedText() const { return QGuiApplication::clipboard()->text(); }

void MainWindow::showAllShops()
{
    if (!m_allShops) {
        m_allShops = new AllShopsWindow(*m_controller->shopTable(), this);
        // The shop chosen there shows here, in front.
        connect(m_allShops, &AllShopsWindow::shopActivated, this, [this](int index) {
            m_controller->moveToShop(index);
            raise();
            activateWindow();
        });
        placeAllShops();
    }
    m_allShops->show();
    m_allShops->raise();
    m_allShops->activateWindow();
}

// First shown below this window's top, centred on it, on the screen.
void MainWindow::placeAllShops()
{
    const QRect screen = this->screen()->availableGeometry();
    QRect place(QPoint(), m_allShops->size());
    place.moveCenter(frameGeometry().center());
    place.moveTop(frameGeometry().top() + 40);
    m_allShops->move(place.left() + std::max(0, screen.left() - place.left()) -
                         std::max(0, place.right() - screen.right()),
                     std::max(screen.top(), std::min(place.top(), screen.bottom() - place.height())));
}

bool MainWindow::allShopsShown() const { return m_allShops && m_allShops->isVisible(); }

void MainWindow::showAbout()
{
    // A new window each time, so its texts are built afresh.
    AboutWindow about(this);
    about.exec();
}

void MainWindow::closeWindow() { close(); }

// --- window events

bool MainWindow::event(QEvent *event)
{
    // A modal window (a message, a dialog, About) takes the mouse button's
    // release from the scroll bar, which would otherwise go on repeating a
    // press or dragging the thumb behind it.
    if (event->type() == QEvent::WindowBlocked)
        m_form->endMouseAction();
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Once the activation has settled, and only if no modal window took it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow() && !QApplication::activeModalWidget())
                m_controller->windowActivated();
        });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Quit and the window's close button both come here.
    if (!m_controller->askToSaveChanges()) {
        event->ignore();
        return;
    }
    m_controller->closeImage();
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
    const QByteArray path = droppedPath(event->mimeData()->urls().constFirst());
    event->acceptProposedAction();
    // Open after the drop has finished, so the program it came from is not
    // kept waiting by a message about the file.
    QTimer::singleShot(0, this, [this, path] { openImage(path); });
}
