#include "BenchSupport.h"

#include "DemoImage.h"
#include "EditorController.h"
#include "FormLayout.h"
#include "ItemLabels.h"
#include "ShopTypeLabels.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>

#include <fcntl.h>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

namespace {

class FirstFrameWatcher : public QObject {
public:
    explicit FirstFrameWatcher(QWidget &window) : m_window(window) { m_window.installEventFilter(this); }
    ~FirstFrameWatcher() override { m_window.removeEventFilter(this); }
    FirstFrameWatcher(const FirstFrameWatcher &) = delete;
    FirstFrameWatcher &operator=(const FirstFrameWatcher &) = delete;

    [[nodiscard]] bool painted() const { return m_painted; }

protected:
    // The top-level is painted first and its children right after, in the
    // same pass: once the event that carried this paint has been handled,
    // the whole frame is there.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    QWidget &m_window;
    bool m_painted = false;
};

// The Qt class a widget is, seen through any class of this project.
QString qtClassName(const QWidget &widget)
{
    const QMetaObject *meta = widget.metaObject();
    while (meta->superClass() && meta->className()[0] != 'Q')
        meta = meta->superClass();
    return QLatin1String(meta->className());
}

// Labels 0 to count - 1 of one of the label tables.
QStringList labels(int count, std::string_view (*label)(int))
{
    QStringList texts;
    for (int code = 0; code < count; ++code) {
        const std::string_view text = label(code);
        texts.append(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    return texts;
}

// The plain Qt widget of a control's kind, with its text and entries.
QWidget *bareControl(const form::Control &control, QWidget *parent, QAbstractItemModel *items)
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
    case form::Kind::Label:
    case form::Kind::Caption: return new QLabel(text, parent);
    case form::Kind::TextBox: return new QLineEdit(text, parent);
    case form::Kind::ScrollBar: return new QScrollBar(Qt::Horizontal, parent);
    case form::Kind::TypeList: {
        auto *list = new QComboBox(parent);
        list->addItems(labels(rom::ShopTypeLabels::count(), &rom::ShopTypeLabels::label));
        return list;
    }
    case form::Kind::ItemList: {
        auto *list = new QComboBox(parent);
        list->setModel(items);
        return list;
    }
    case form::Kind::Button: return new QPushButton(text, parent);
    case form::Kind::RuleShadow:
    case form::Kind::RuleLight: {
        auto *line = new QWidget(parent);
        line->setBackgroundRole(form::ruleColour(control.kind));
        line->setAutoFillBackground(true);
        return line;
    }
    }
    Q_UNREACHABLE();
}

} // namespace

void useOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Two warnings of a machine without a desktop session, one of them at
    // every fixed-size window shown, would bury the figures.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.startsWith(QLatin1String("This plugin does not support propagateSizeHints")) &&
                !message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
                previous(type, context, message);
        });
}

void showAndWaitForFirstFrame(QWidget &window)
{
    window.show();
    waitForFirstFrame(window);
}

void waitForFirstFrame(QWidget &window)
{
    FirstFrameWatcher watcher(window);
    QElapsedTimer waited;
    waited.start();
    while (!watcher.painted()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (waited.elapsed() > 10000)
            qFatal("bench: the window was not painted within ten seconds");
    }
}

void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::unique_ptr<QMainWindow> buildBareWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(EditorController::title());
    for (const form::Menu &row : form::kMenus) {
        QMenu *menu = window->menuBar()->addMenu(QString::fromUtf8(row.text));
        for (const form::MenuEntry &entry : row.entries) {
            if (!entry.text) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(entry.text));
            action->setShortcuts(form::shortcuts(entry));
            action->setEnabled(entry.enabledAtStart());
        }
    }

    auto *client = new QWidget(window.get());
    client->setFixedSize(form::kClientSize);
    window->setCentralWidget(client);
    auto *items = new QStringListModel(labels(rom::ItemLabels::count(), &rom::ItemLabels::label), window.get());
    for (const form::Control &row : form::kControls) {
        QWidget *parent =
            row.parent ? client->findChild<QWidget *>(QLatin1String(row.parent), Qt::FindDirectChildrenOnly) : client;
        QWidget *widget = bareControl(row, parent, items);
        widget->setObjectName(QLatin1String(row.name));
        widget->setGeometry(form::pixelGeometry(row));
        widget->setEnabled(row.enabled);
    }
    // The status bar with the file's name and the shop's place, empty until
    // an image is open.
    window->statusBar()->setSizeGripEnabled(false);
    window->statusBar()->addWidget(new QLabel(window.get()), 1);
    window->statusBar()->addPermanentWidget(new QLabel(window.get()));
    return window;
}

QMap<QString, int> widgetCensus(const QWidget &window)
{
    QMap<QString, int> census;
    for (const QWidget *widget : window.findChildren<QWidget *>())
        ++census[qtClassName(*widget)];
    return census;
}

void writeDemoImage(const QString &path, std::uint64_t cartridgeSize, std::uint32_t seed)
{
    demo::DemoImageOptions options;
    options.cartridgeSize = cartridgeSize;
    options.seed = seed;
    const std::string file = path.toStdString();
    // Written on the disk, so that no later fsync() pays for writing it.
    if (const std::string error = demo::writeImageFile(file, demo::makeDemoImage(options), true); !error.empty())
        qFatal("bench: %s", error.c_str());
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace bench
