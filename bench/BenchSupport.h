#pragma once

#include <QMap>
#include <QString>

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
// The same for a window that something else has just shown.
void waitForFirstFrame(QWidget &window);

// Runs the deletions that closing or destroying windows queued.
void flushDeferredDeletes();

// A plain QMainWindow with plain Qt widgets of the kinds, texts, places and
// entries the main window's form gives, and the same menus, with none of the
// editor behind them.
[[nodiscard]] std::unique_ptr<QMainWindow> buildBareWindow();

// How many widgets of each Qt class a window holds, itself excluded.
[[nodiscard]] QMap<QString, int> widgetCensus(const QWidget &window);

// Writes a headered demonstration image of cartridgeSize bytes and flushes it
// to the disk, so that no later fsync() pays for writing it. Aborts on failure.
void writeDemoImage(const QString &path, std::uint64_t cartridgeSize, std::uint32_t seed = 1);

// Peak resident memory of this process so far, in KiB.
[[nodiscard]] long peakResidentKiB();

} // namespace bench
