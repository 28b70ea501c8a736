// One measurement per process, for the figures a benchmark loop cannot give:
// peak resident memory (a figure of the whole process), start-up from the
// beginning of the program, and a fixed number of shop steps to run under
// strace. bench/run calls it once per figure.
#include "BenchSupport.h"
#include "MainWindow.h"

#include "EditorController.h"
#include "ImageLayout.h"
#include "MemoryView.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: shop-bench-probe MODE ARGUMENTS\n"
               "  make-image FILE MIB      write a headered demonstration image of MIB MiB of cartridge\n"
               "  plan FILE                write what the bare window copies from the main window\n"
               "  startup main             milliseconds from the start of the program to the first frame\n"
               "  startup bare PLAN        the same for the bare window built from PLAN\n"
               "  peak main [IMAGE]        peak resident KiB with the main window shown (and IMAGE open)\n"
               "  peak bare PLAN           peak resident KiB with the bare window shown\n"
               "  peak controller IMAGE    peak resident KiB with IMAGE open in the editing flow alone\n"
               "  steps IMAGE N            open IMAGE in the main window and move N shops on\n",
               stderr);
    return 2;
}

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The set-up of the program's own main(), which both windows get.
void setUpApplication()
{
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());
}

// Handles what opening or stepping queued: repaints, deferred deletions.
void settle()
{
    for (int round = 0; round < 3; ++round)
        bench::flushDeferredDeletes();
}

bool openInWindow(MainWindow &window, const QString &image)
{
    window.openImage(QFile::encodeName(image));
    settle();
    const auto *index = window.findChild<QLineEdit *>(QStringLiteral("ShopIndexTXT"));
    return index && index->isEnabled() && index->text() == QStringLiteral("0");
}

} // namespace

int main(int argc, char **argv)
{
    const Clock::time_point start = Clock::now();
    bench::useOffscreenPlatform();
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    const std::string what = argv[2];

    if (mode == "peak" && what == "controller" && argc == 4) {
        // No QApplication: the editing flow needs none.
        MemoryView view;
        MemoryOpenDialog dialog;
        EditorController controller(view, dialog);
        view.attach(controller);
        controller.Form_Load();
        if (!controller.openFile(argv[3]) || !view.errors().isEmpty()) {
            std::fprintf(stderr, "shop-bench-probe: cannot open %s\n", argv[3]);
            return 1;
        }
        std::printf("%ld\n", bench::peakResidentKiB());
        return 0;
    }

    if (mode == "make-image" && argc == 4) {
        bench::writeDemoImage(QString::fromLocal8Bit(argv[2]), std::strtoull(argv[3], nullptr, 10) << 20);
        return 0;
    }

    QApplication app(argc, argv);
    setUpApplication();
    if (mode == "plan" && argc == 3) {
        MainWindow window;
        bench::showAndWaitForFirstFrame(window);
        bench::savePlan(bench::planFrom(window), QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    if (mode == "startup" && what == "main" && argc == 3) {
        MainWindow window;
        bench::showAndWaitForFirstFrame(window);
        std::printf("%.3f\n", millisecondsSince(start));
        return 0;
    }
    if (mode == "startup" && what == "bare" && argc == 4) {
        // Reading the plan is the probe's own work, not the window's.
        const Clock::time_point planStart = Clock::now();
        const bench::WindowPlan plan = bench::loadPlan(QString::fromLocal8Bit(argv[3]));
        const double planTime = millisecondsSince(planStart);
        const std::unique_ptr<QMainWindow> window = bench::buildBareWindow(plan);
        bench::showAndWaitForFirstFrame(*window);
        std::printf("%.3f\n", millisecondsSince(start) - planTime);
        return 0;
    }
    if (mode == "peak" && what == "main" && (argc == 3 || argc == 4)) {
        MainWindow window;
        bench::showAndWaitForFirstFrame(window);
        settle();
        if (argc == 4 && !openInWindow(window, QString::fromLocal8Bit(argv[3]))) {
            std::fprintf(stderr, "shop-bench-probe: cannot open %s\n", argv[3]);
            return 1;
        }
        std::printf("%ld\n", bench::peakResidentKiB());
        return 0;
    }
    if (mode == "peak" && what == "bare" && argc == 4) {
        const bench::WindowPlan plan = bench::loadPlan(QString::fromLocal8Bit(argv[3]));
        const std::unique_ptr<QMainWindow> window = bench::buildBareWindow(plan);
        bench::showAndWaitForFirstFrame(*window);
        settle();
        std::printf("%ld\n", bench::peakResidentKiB());
        return 0;
    }
    if (mode == "steps" && argc == 4) {
        MainWindow window;
        bench::showAndWaitForFirstFrame(window);
        if (!openInWindow(window, QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "shop-bench-probe: cannot open %s\n", argv[2]);
            return 1;
        }
        auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("HScroll"));
        const long steps = std::strtol(argv[3], nullptr, 10);
        for (long step = 1; step <= steps; ++step)
            scroll->setValue(int(step % rom::kShopCount));
        settle();
        return 0;
    }
    return usage();
}
