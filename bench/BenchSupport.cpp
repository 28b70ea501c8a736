#include "BenchSupport.h"

#include "DemoImage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QTabWidget>

#include <fcntl.h>
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

// Widgets that a tab widget or a combo box builds for itself come with it in
// the bare window too, and so do drop-downs (windows of their own).
bool builtByContainer(const QWidget &widget, const QWidget &client)
{
    if (widget.isWindow())
        return true;
    for (const QWidget *above = widget.parentWidget(); above && above != &client; above = above->parentWidget())
        if (qobject_cast<const QTabWidget *>(above) || qobject_cast<const QComboBox *>(above))
            return true;
    return false;
}

QStringList entriesOf(const QComboBox &list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.append(list.itemText(row));
    return texts;
}

} // namespace

// Streaming for the plan file; found by argument-dependent lookup.
QDataStream &operator<<(QDataStream &out, const WindowPlan::Control &control)
{
    return out << int(control.kind) << control.geometry << control.text << control.pixmap << control.enabled
               << control.autoFill << control.palette << int(control.orientation) << control.model
               << control.popupBuilt << control.tabs;
}

QDataStream &operator>>(QDataStream &in, WindowPlan::Control &control)
{
    int kind = 0;
    int orientation = 0;
    in >> kind >> control.geometry >> control.text >> control.pixmap >> control.enabled >> control.autoFill >>
        control.palette >> orientation >> control.model >> control.popupBuilt >> control.tabs;
    control.kind = WindowPlan::Kind(kind);
    control.orientation = Qt::Orientation(orientation);
    return in;
}

QDataStream &operator<<(QDataStream &out, const WindowPlan::Entries &entries)
{
    return out << entries.texts << entries.shared;
}

QDataStream &operator>>(QDataStream &in, WindowPlan::Entries &entries) { return in >> entries.texts >> entries.shared; }

QDataStream &operator<<(QDataStream &out, const WindowPlan::Action &action)
{
    return out << action.text << action.shortcut << action.enabled;
}

QDataStream &operator>>(QDataStream &in, WindowPlan::Action &action)
{
    return in >> action.text >> action.shortcut >> action.enabled;
}

QDataStream &operator<<(QDataStream &out, const WindowPlan::Menu &menu) { return out << menu.title << menu.actions; }

QDataStream &operator>>(QDataStream &in, WindowPlan::Menu &menu) { return in >> menu.title >> menu.actions; }

void savePlan(const WindowPlan &plan, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("bench: cannot write %s", qPrintable(path));
    QDataStream out(&file);
    out << plan.title << plan.clientSize << plan.menus << plan.controls << plan.models << plan.unmirrored;
    if (out.status() != QDataStream::Ok || !file.flush())
        qFatal("bench: cannot write %s", qPrintable(path));
}

WindowPlan loadPlan(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("bench: cannot read %s", qPrintable(path));
    QDataStream in(&file);
    WindowPlan plan;
    in >> plan.title >> plan.clientSize >> plan.menus >> plan.controls >> plan.models >> plan.unmirrored;
    if (in.status() != QDataStream::Ok)
        qFatal("bench: %s is not a window plan", qPrintable(path));
    return plan;
}

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
    FirstFrameWatcher watcher(window);
    QElapsedTimer waited;
    waited.start();
    window.show();
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

WindowPlan planFrom(const QMainWindow &window)
{
    using Kind = WindowPlan::Kind;
    WindowPlan plan;
    plan.title = window.windowTitle();
    const QWidget &client = *window.centralWidget();
    plan.clientSize = client.size();

    if (const auto *bar = qobject_cast<const QMenuBar *>(window.menuWidget())) {
        for (const QAction *entry : bar->actions()) {
            const QMenu *menu = entry->menu();
            if (!menu)
                continue;
            WindowPlan::Menu copy{entry->text(), {}};
            for (const QAction *action : menu->actions())
                copy.actions.append({action->isSeparator() ? QString() : action->text(), action->shortcut(),
                                     action->isEnabled()});
            plan.menus.append(copy);
        }
    }

    static const QHash<QString, Kind> kinds{
        {QStringLiteral("QWidget"), Kind::Widget},         {QStringLiteral("QLabel"), Kind::Label},
        {QStringLiteral("QLineEdit"), Kind::LineEdit},     {QStringLiteral("QScrollBar"), Kind::ScrollBar},
        {QStringLiteral("QComboBox"), Kind::ComboBox},     {QStringLiteral("QPushButton"), Kind::PushButton},
        {QStringLiteral("QTabWidget"), Kind::TabWidget},
    };
    QHash<const QAbstractItemModel *, int> modelIndex;
    for (const QWidget *widget : client.findChildren<QWidget *>()) {
        if (builtByContainer(*widget, client))
            continue;
        const QString className = qtClassName(*widget);
        if (!kinds.contains(className)) {
            plan.unmirrored.append(className);
            continue;
        }
        WindowPlan::Control control;
        control.kind = kinds.value(className);
        control.geometry = QRect(widget->mapTo(&client, QPoint(0, 0)), widget->size());
        control.enabled = widget->isEnabled();
        switch (control.kind) {
        case Kind::Widget:
            control.autoFill = widget->autoFillBackground();
            control.palette = widget->palette();
            break;
        case Kind::Label: {
            const auto *label = static_cast<const QLabel *>(widget);
            control.text = label->text();
            control.pixmap = label->pixmap();
            break;
        }
        case Kind::LineEdit: control.text = static_cast<const QLineEdit *>(widget)->text(); break;
        case Kind::ScrollBar: control.orientation = static_cast<const QScrollBar *>(widget)->orientation(); break;
        case Kind::PushButton: control.text = static_cast<const QPushButton *>(widget)->text(); break;
        case Kind::TabWidget: {
            const auto *tabs = static_cast<const QTabWidget *>(widget);
            for (int tab = 0; tab < tabs->count(); ++tab)
                control.tabs.append(tabs->tabText(tab));
            break;
        }
        case Kind::ComboBox: {
            const auto *list = static_cast<const QComboBox *>(widget);
            // A list's own model is its child; one given to it may serve others too.
            const bool shared = list->model()->parent() != list;
            if (shared && modelIndex.contains(list->model())) {
                control.model = modelIndex.value(list->model());
            } else {
                control.model = int(plan.models.size());
                plan.models.append({entriesOf(*list), shared});
                if (shared)
                    modelIndex.insert(list->model(), control.model);
            }
            control.popupBuilt = list->findChild<QAbstractItemView *>() != nullptr;
            break;
        }
        }
        plan.controls.append(control);
    }
    return plan;
}

std::unique_ptr<QMainWindow> buildBareWindow(const WindowPlan &plan)
{
    using Kind = WindowPlan::Kind;
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(plan.title);
    for (const WindowPlan::Menu &copy : plan.menus) {
        QMenu *menu = window->menuBar()->addMenu(copy.title);
        for (const WindowPlan::Action &entry : copy.actions) {
            if (entry.text.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(entry.text);
            action->setShortcut(entry.shortcut);
            action->setEnabled(entry.enabled);
        }
    }

    auto *client = new QWidget(window.get());
    client->setFixedSize(plan.clientSize);
    window->setCentralWidget(client);
    QList<QAbstractItemModel *> sharedModels(plan.models.size(), nullptr);
    for (const WindowPlan::Control &control : plan.controls) {
        QWidget *widget = nullptr;
        switch (control.kind) {
        case Kind::Widget:
            widget = new QWidget(client);
            if (control.autoFill) {
                widget->setAutoFillBackground(true);
                widget->setPalette(control.palette);
            }
            break;
        case Kind::Label: {
            auto *label = new QLabel(control.text, client);
            if (!control.pixmap.isNull())
                label->setPixmap(control.pixmap);
            widget = label;
            break;
        }
        case Kind::LineEdit: widget = new QLineEdit(control.text, client); break;
        case Kind::ScrollBar: widget = new QScrollBar(control.orientation, client); break;
        case Kind::PushButton: widget = new QPushButton(control.text, client); break;
        case Kind::TabWidget: {
            auto *tabs = new QTabWidget(client);
            for (const QString &title : control.tabs)
                tabs->addTab(new QWidget(tabs), title);
            widget = tabs;
            break;
        }
        case Kind::ComboBox: {
            auto *list = new QComboBox(client);
            const WindowPlan::Entries &entries = plan.models.at(control.model);
            if (entries.shared) {
                QAbstractItemModel *&model = sharedModels[control.model];
                if (!model)
                    model = new QStringListModel(entries.texts, window.get());
                list->setModel(model);
            } else {
                list->addItems(entries.texts);
            }
            if (control.popupBuilt)
                (void)list->view();
            widget = list;
            break;
        }
        }
        widget->setGeometry(control.geometry);
        widget->setEnabled(control.enabled);
    }
    return window;
}

QMap<QString, int> widgetCensus(const QWidget &window)
{
    QMap<QString, int> census;
    for (const QWidget *widget : window.findChildren<QWidget *>())
        ++census[QLatin1String(widget->metaObject()->className())];
    return census;
}

int widgetCount(const QMap<QString, int> &census)
{
    int count = 0;
    for (const int n : census)
        count += n;
    return count;
}

int comboEntryCount(const QWidget &window)
{
    int count = 0;
    for (const QComboBox *list : window.findChildren<QComboBox *>())
        count += list->count();
    return count;
}

QString censusDifference(const QMap<QString, int> &real, const QMap<QString, int> &bare)
{
    QMap<QString, int> difference = real;
    for (auto kind = bare.begin(); kind != bare.end(); ++kind)
        difference[kind.key()] -= kind.value();
    QStringList parts;
    for (auto kind = difference.begin(); kind != difference.end(); ++kind)
        if (kind.value() != 0)
            parts.append(QStringLiteral("%1 %2%3").arg(kind.key(), kind.value() > 0 ? QStringLiteral("+") : QString())
                             .arg(kind.value()));
    return parts.join(QStringLiteral(", "));
}

void writeDemoImage(const QString &path, std::uint64_t cartridgeSize, std::uint32_t seed)
{
    demo::DemoImageOptions options;
    options.cartridgeSize = cartridgeSize;
    options.seed = seed;
    const std::string file = path.toStdString();
    if (const std::string error = demo::writeImageFile(file, demo::makeDemoImage(options), true); !error.empty())
        qFatal("bench: %s", error.c_str());
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0 || ::close(fd) != 0)
        qFatal("bench: cannot flush %s", file.c_str());
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace bench
