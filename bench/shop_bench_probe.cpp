// One measurement per process, for the figures a benchmark loop cannot give:
// peak resident memory (a figure of the whole process), start-up from the
// beginning of the program, and the file calls the editor makes, counted at
// its file-access seam. bench/run calls it once per figure.
#include "BenchSupport.h"
#include "MainWindow.h"

#include "EditorController.h"
#include "FileAccess.h"
#include "ImageLayout.h"
#include "MemoryView.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: shop-bench-probe MODE ARGUMENTS\n"
               "  make-image FILE MIB      write a headered demonstration image of MIB MiB of cartridge\n"
               "  startup main|bare        milliseconds from the start of the program to the first frame\n"
               "  peak main [IMAGE]        peak resident KiB with the main window shown (and IMAGE open)\n"
               "  peak bare                peak resident KiB with the bare window shown\n"
               "  peak controller IMAGE    peak resident KiB with IMAGE open in the editing flow alone\n"
               "  calls IMAGE N            file calls per shop step: N steps less none, over N\n"
               "  reads IMAGE              bytes read from IMAGE by opening it in the window, and its mappings\n",
               stderr);
    return 2;
}

int cannotOpen(const char *image)
{
    std::fprintf(stderr, "shop-bench-probe: cannot open %s\n", image);
    return 1;
}

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The real calls, counted by name, and the bytes the reads returned.
class CountingFileAccess : public rom::FileAccess {
public:
    std::map<std::string, long> calls;
    long long bytesRead = 0;

    int stat(const rom::FilePath &path, rom::FileStatus &info) override
    {
        return counted("stat", FileAccess::stat(path, info));
    }
    int fstat(rom::FileHandle fd, rom::FileStatus &info) override { return counted("fstat", FileAccess::fstat(fd, info)); }
    rom::FileHandle open(const rom::FilePath &path, rom::OpenMode mode) override
    {
        return counted("open", FileAccess::open(path, mode));
    }
    std::ptrdiff_t pread(rom::FileHandle fd, void *buffer, std::size_t count, std::int64_t offset) override
    {
        const std::ptrdiff_t read = counted("pread", FileAccess::pread(fd, buffer, count, offset));
        bytesRead += read > 0 ? read : 0;
        return read;
    }
    std::ptrdiff_t pwrite(rom::FileHandle fd, const void *buffer, std::size_t count, std::int64_t offset) override
    {
        return counted("pwrite", FileAccess::pwrite(fd, buffer, count, offset));
    }
    int fsync(rom::FileHandle fd) override { return counted("fsync", FileAccess::fsync(fd)); }
    int close(rom::FileHandle fd) override { return counted("close", FileAccess::close(fd)); }

private:
    template <typename Result>
    Result counted(const char *name, Result result)
    {
        ++calls[name];
        return result;
    }
};

// The set-up of the program's own main(), which both windows get.
void setUpApplication()
{
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());
}

std::unique_ptr<QMainWindow> makeWindow(const std::string &which)
{
    if (which == "main")
        return std::make_unique<MainWindow>();
    return bench::buildBareWindow();
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
    const auto *index = window.findChild<QLineEdit *>(QStringLiteral("shopIndexEdit"));
    return index && index->isEnabled() && index->text() == QStringLiteral("0");
}

// Prints the calls of one shop step, as "stat 2.00, pread 1.00, ..., total 4.00".
int callsPerStep(const QString &image, long steps)
{
    if (steps <= 0)
        return usage();
    CountingFileAccess files;
    MainWindow window(files);
    bench::showAndWaitForFirstFrame(window);
    if (!openInWindow(window, image))
        return cannotOpen(qPrintable(image));
    auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("shopScrollBar"));
    // The calls of count steps and of handling the events they queued.
    const auto callsOf = [&](long count) {
        const std::map<std::string, long> before = files.calls;
        for (long step = 0; step < count; ++step)
            scroll->setValue((scroll->value() + 1) % rom::kShopCount);
        settle();
        std::map<std::string, long> spent = files.calls;
        for (auto &[name, calls] : spent)
            calls -= before.contains(name) ? before.at(name) : 0;
        return spent;
    };
    std::map<std::string, long> none = callsOf(0);
    double total = 0;
    for (const auto &[name, calls] : callsOf(steps)) {
        const double perStep = double(calls - none[name]) / double(steps);
        total += perStep;
        if (perStep >= 0.01)
            std::printf("%s %.2f, ", name.c_str(), perStep);
    }
    std::printf("total %.2f\n", total);
    return 0;
}

// Prints the bytes opening the image in the window read from it, and how many
// mappings of it the process holds once it is open.
int readsAtOpen(const QString &image)
{
    CountingFileAccess files;
    MainWindow window(files);
    bench::showAndWaitForFirstFrame(window);
    if (!openInWindow(window, image))
        return cannotOpen(qPrintable(image));
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("shop-bench-probe: cannot read /proc/self/maps");
    const QByteArray path = QFileInfo(image).canonicalFilePath().toLocal8Bit();
    int mappings = 0;
    while (!maps.atEnd())
        mappings += maps.readLine().trimmed().endsWith(" " + path) ? 1 : 0;
    std::printf("%lld bytes, %d mappings\n", files.bytesRead, mappings);
    return 0;
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
        EditorController controller(view, view, dialog);
        view.attach(controller);
        if (!controller.openFile(argv[3]) || !view.errors().isEmpty())
            return cannotOpen(argv[3]);
        std::printf("%ld\n", bench::peakResidentKiB());
        return 0;
    }

    if (mode == "make-image" && argc == 4) {
        bench::writeDemoImage(QString::fromLocal8Bit(argv[2]), std::strtoull(argv[3], nullptr, 10) << 20);
        return 0;
    }

    QApplication app(argc, argv);
    setUpApplication();
    if (mode == "startup" && argc == 3 && (what == "main" || what == "bare")) {
        const std::unique_ptr<QMainWindow> window = makeWindow(what);
        bench::showAndWaitForFirstFrame(*window);
        std::printf("%.3f\n", millisecondsSince(start));
        return 0;
    }
    if (mode == "peak" && ((what == "main" && (argc == 3 || argc == 4)) || (what == "bare" && argc == 3))) {
        const std::unique_ptr<QMainWindow> window = makeWindow(what);
        bench::showAndWaitForFirstFrame(*window);
        settle();
        if (argc == 4 && !openInWindow(*qobject_cast<MainWindow *>(window.get()), QString::fromLocal8Bit(argv[3])))
            return cannotOpen(argv[3]);
        std::printf("%ld\n", bench::peakResidentKiB());
        return 0;
    }
    if (mode == "calls" && argc == 4)
        return callsPerStep(QString::fromLocal8Bit(argv[2]), std::strtol(argv[3], nullptr, 10));
    if (mode == "reads" && argc == 3)
        return readsAtOpen(QString::fromLocal8Bit(argv[2]));
    return usage();
}
