#pragma once

#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QMainWindow;
class QWidget;

// What the benchmark programs share: the bare window they compare the real
// one with, waiting for a first frame, and the images they open.
namespace bench {

// The benchmarks need no display: the offscreen platform paints into memory.
// Call before the QApplication is made; a platform chosen by the caller stays.
void useOffscreenPlatform();

// Shows the window and handles events until its first frame has been painted.
// Aborts the program if none comes within ten seconds.
void showAndWaitForFirstFrame(QWidget &window);

// Runs the deletions that closing or destroying windows queued.
void flushDeferredDeletes();

// The controls of a window, as a bare QMainWindow needs them to hold the same
// widgets, entries and texts. Read from the real window at run time, so that
// the baseline follows the window when it changes.
struct WindowPlan {
    enum class Kind { Widget, Label, LineEdit, ScrollBar, ComboBox, PushButton, TabWidget };
    struct Control {
        Kind kind = Kind::Widget;
        QRect geometry; // relative to the central widget
        QString text;
        QPixmap pixmap;
        bool enabled = true;
        bool autoFill = false;
        QPalette palette;
        Qt::Orientation orientation = Qt::Horizontal; // scroll bars
        int model = -1;          // combo boxes: index into models
        bool popupBuilt = false; // combo boxes: the drop-down already exists
        QStringList tabs;        // tab widgets: the tab titles
    };
    struct Entries {
        QStringList texts;
        bool shared = false; // a model of its own, given to several lists
    };
    struct Action {
        QString text; // empty for a separator
        QKeySequence shortcut;
        bool enabled = true;
    };
    struct Menu {
        QString title;
        QList<Action> actions;
    };

    QString title;
    QSize clientSize;
    QList<Menu> menus;
    QList<Control> controls;
    QList<Entries> models;
    // Widgets of kinds the plan does not know how to copy, by class name.
    QStringList unmirrored;
};

[[nodiscard]] WindowPlan planFrom(const QMainWindow &window);
// A bare QMainWindow holding what the plan lists.
[[nodiscard]] std::unique_ptr<QMainWindow> buildBareWindow(const WindowPlan &plan);

// The plan in a file, so that a process can build the bare window without
// ever making the real one. Both abort the program on failure.
void savePlan(const WindowPlan &plan, const QString &path);
[[nodiscard]] WindowPlan loadPlan(const QString &path);

// How many widgets of each class a window holds, itself excluded.
[[nodiscard]] QMap<QString, int> widgetCensus(const QWidget &window);
[[nodiscard]] int widgetCount(const QMap<QString, int> &census);
// Entries of all the window's combo boxes, each list counted on its own.
[[nodiscard]] int comboEntryCount(const QWidget &window);
// "QLabel +1, QFileDialog -1": where two censuses differ; empty if nowhere.
[[nodiscard]] QString censusDifference(const QMap<QString, int> &real, const QMap<QString, int> &bare);

// Writes a headered demonstration image of cartridgeSize bytes and flushes it
// to the disk, so that no later fsync() pays for writing it. Aborts on failure.
void writeDemoImage(const QString &path, std::uint64_t cartridgeSize, std::uint32_t seed = 1);

// Peak resident memory of this process so far, in KiB.
[[nodiscard]] long peakResidentKiB();

} // namespace bench
