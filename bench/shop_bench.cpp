// Speed of the editor against baselines measured in the same run: start-up
// to the first frame against a bare window with the same controls, moving
// between shops against raw positioned reads and writes, and opening a large
// image against a small one. Prints the ratios after the benchmarks.
#include "BenchSupport.h"
#include "Contenders.h"
#include "FigureTable.h"
#include "DemoNames.h"
#include "ImageNamesDialog.h"
#include "MainWindow.h"
#include "NameTools.h"
#include "OutputFile.h"
#include "ShopTableModel.h"

#include "ImageLayout.h"
#include "ShopRecord.h"

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QMainWindow>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int kRepetitions = 5;
constexpr std::uint64_t kSmallCartridge = 0x400000;  // 4 MiB
constexpr std::uint64_t kLargeCartridge = 0x4000000; // 64 MiB

using bench::Clock;
using bench::Contender;
using bench::runInTurn;
using bench::secondsSince;

// Makes a window, shows it, and times that up to its first frame.
template <typename MakeWindow>
double timeFirstFrame(MakeWindow make)
{
    const Clock::time_point start = Clock::now();
    auto window = make();
    bench::showAndWaitForFirstFrame(*window);
    const double seconds = secondsSince(start);
    window.reset();
    bench::flushDeferredDeletes();
    return seconds;
}

void startUp(benchmark::State &state)
{
    runInTurn(state,
              {
                  {"main", [] { return timeFirstFrame([] { return std::make_unique<MainWindow>(); }); }},
                  {"bare", [] { return timeFirstFrame([] { return bench::buildBareWindow(); }); }},
              },
              1e3, "ms", {{0, 1}});
}

// The least a step can do: write the 9 bytes of the shop left, read those of
// the next. With checkPath, each of the two also first looks the file up by
// its path, as the editor does to notice a file replaced under it.
class RawSweep {
public:
    RawSweep(const QString &image, bool checkPath) : m_path(image.toStdString()), m_checkPath(checkPath)
    {
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC);
        m_ok = m_fd >= 0 && ::pread(m_fd, m_shown.data(), m_shown.size(), offset(0)) == ssize_t(m_shown.size());
    }
    ~RawSweep()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RawSweep(const RawSweep &) = delete;
    RawSweep &operator=(const RawSweep &) = delete;

    // One move through all the shops.
    double run()
    {
        const Clock::time_point start = Clock::now();
        for (int step = 0; step < rom::kShopCount; ++step) {
            const auto size = ssize_t(m_shown.size());
            m_ok &= lookUp() && ::pwrite(m_fd, m_shown.data(), m_shown.size(), offset(m_shop)) == size;
            m_shop = (m_shop + 1) % rom::kShopCount;
            m_ok &= lookUp() && ::pread(m_fd, m_shown.data(), m_shown.size(), offset(m_shop)) == size;
        }
        benchmark::DoNotOptimize(m_shown);
        return secondsSince(start);
    }
    [[nodiscard]] bool ok() const { return m_ok; }

private:
    static off_t offset(int shop) { return off_t(rom::shopFileOffset(rom::ImageLayout::Headered, shop)); }
    bool lookUp() const
    {
        struct stat info {};
        return !m_checkPath || ::stat(m_path.c_str(), &info) == 0;
    }

    std::string m_path;
    bool m_checkPath;
    int m_fd = -1;
    bool m_ok = false;
    rom::ShopRecord::Bytes m_shown{};
    int m_shop = 0;
};

// Moving through all the shops in the window, one step at a time, by the
// scroll bar's value: browsing, where a step only loads the next shop, and
// with a pick before each step, which the step then saves first (read again,
// written, the disk flush left to the timer that follows). The raw calls work
// on a copy of the image: writing the window's image behind its back would
// be a change by another program, which the window asks about.
void sweepShops(benchmark::State &state, const QString &image, const QString &rawImage)
{
    MainWindow window;
    bench::showAndWaitForFirstFrame(window);
    window.openImage(QFile::encodeName(image));
    auto *scroll = window.findChild<QScrollBar *>(QStringLiteral("shopScrollBar"));
    auto *index = window.findChild<QLineEdit *>(QStringLiteral("shopIndexEdit"));
    if (!scroll || !index || index->text() != QStringLiteral("0")) {
        state.SkipWithError("the window did not open the image on shop 0");
        return;
    }
    auto *slot = window.findChild<QComboBox *>(QStringLiteral("slot8List"));
    int shop = 0;
    const auto sweep = [&](bool pick) {
        const Clock::time_point start = Clock::now();
        for (int step = 0; step < rom::kShopCount; ++step) {
            if (pick) {
                // As the list reports a pick of the user's.
                const int entry = slot->currentIndex() ^ 1;
                slot->setCurrentIndex(entry);
                emit slot->activated(entry);
            }
            shop = (shop + 1) % rom::kShopCount;
            scroll->setValue(shop);
        }
        const double seconds = secondsSince(start);
        // The repaints the steps asked for, and the flush of the writes, left out.
        QCoreApplication::processEvents();
        return seconds;
    };
    RawSweep raw(rawImage, false);
    RawSweep rawWithLookUps(rawImage, true);
    runInTurn(state,
              {
                  {"window", [&] { return sweep(false); }},
                  {"raw", [&] { return raw.run(); }},
                  {"raw+stat", [&] { return rawWithLookUps.run(); }},
                  {"window_picked", [&] { return sweep(true); }},
              },
              1e6 / rom::kShopCount, "us_per_step", {{0, 1}, {0, 2}, {3, 1}, {3, 2}});
    if (index->text() != QString::number(shop))
        state.SkipWithError("the window did not follow the scroll bar");
    if (!raw.ok() || !rawWithLookUps.ok())
        state.SkipWithError("a raw read or write of the image failed");
}

// Opening View > All Shops on an open image, until the window's first frame:
// the table read from the file, the models, the window. Against a plain
// QTableView showing the same 128 x 10 strings in cells of the same sizes, as
// large as All Shops' table, so that as many cells are painted. A new main
// window each time, made and opened outside the timing, since the All Shops
// window is made the first time it is shown.
void openAllShops(benchmark::State &state, const QString &image)
{
    QStringList strings;
    QSize size;
    QList<int> widths;
    int rowHeight = 0;
    {
        MainWindow window;
        window.openImage(QFile::encodeName(image));
        window.findChild<QAction *>(QStringLiteral("allShopsAction"))->trigger();
        const auto *table = window.findChild<QTableView *>(QStringLiteral("shopsTable"));
        for (int row = 0; row < table->model()->rowCount(); ++row)
            for (int column = 0; column < table->model()->columnCount(); ++column)
                strings << table->model()->index(row, column).data().toString();
        size = table->size();
        for (int column = 0; column < table->model()->columnCount(); ++column)
            widths << table->columnWidth(column);
        rowHeight = table->verticalHeader()->defaultSectionSize();
    }
    bench::flushDeferredDeletes();
    runInTurn(state,
              {
                  {"all_shops",
                   [&] {
                       MainWindow window;
                       bench::showAndWaitForFirstFrame(window);
                       window.openImage(QFile::encodeName(image));
                       const Clock::time_point start = Clock::now();
                       window.findChild<QAction *>(QStringLiteral("allShopsAction"))->trigger();
                       bench::waitForFirstFrame(*window.findChild<QDialog *>(QStringLiteral("allShopsWindow")));
                       return secondsSince(start);
                   }},
                  {"plain_table",
                   [&] {
                       const Clock::time_point start = Clock::now();
                       QStandardItemModel model(rom::kShopCount, ShopTableModel::ColumnCount);
                       for (int row = 0; row < rom::kShopCount; ++row)
                           for (int column = 0; column < ShopTableModel::ColumnCount; ++column)
                               model.setItem(row, column,
                                             new QStandardItem(strings[row * ShopTableModel::ColumnCount + column]));
                       QTableView table;
                       table.setModel(&model);
                       table.verticalHeader()->hide();
                       table.verticalHeader()->setDefaultSectionSize(rowHeight);
                       for (int column = 0; column < widths.size(); ++column)
                           table.setColumnWidth(column, widths[column]);
                       table.resize(size);
                       bench::showAndWaitForFirstFrame(table);
                       return secondsSince(start);
                   }},
              },
              1e3, "ms", {{0, 1}});
    bench::flushDeferredDeletes();
}

// One keystroke in All Shops' search field, until the table is painted
// again: the filter over the labels, without reading the file.
void searchAllShops(benchmark::State &state, const QString &image)
{
    MainWindow window;
    bench::showAndWaitForFirstFrame(window);
    window.openImage(QFile::encodeName(image));
    window.findChild<QAction *>(QStringLiteral("allShopsAction"))->trigger();
    auto *all = window.findChild<QDialog *>(QStringLiteral("allShopsWindow"));
    bench::waitForFirstFrame(*all);
    auto *search = all->findChild<QLineEdit *>(QStringLiteral("searchEdit"));
    auto *table = all->findChild<QTableView *>(QStringLiteral("shopsTable"));
    const QString typed = QStringLiteral("sword");
    int at = 0;
    runInTurn(state,
              {{"keystroke",
                [&] {
                    // s, sw, swo, swor, sword, then back to s.
                    at = at % typed.size() + 1;
                    const Clock::time_point start = Clock::now();
                    search->setText(typed.left(at));
                    bench::waitForFirstFrame(*table->viewport());
                    return secondsSince(start);
                }}},
              1e6, "us", {});
}

// One change of a field in Item Names from Image, until the preview of the
// 255 names is painted again: the names decoded and listed anew, against a
// plain list view given the same 255 strings, in a view of the same size.
// The bytes to skip go from 1 to 0 and back, so that every name changes.
void previewNames(benchmark::State &state, const QString &image)
{
    rom::CartridgeBytes cartridge;
    rom::ImageLayout layout{};
    if (!rom::NameTools::readCartridge(QFile::encodeName(image).toStdString(), cartridge, layout).ok()) {
        state.SkipWithError("the image could not be read");
        return;
    }
    NameTableChoice choice(std::move(cartridge));
    const std::string table = demo::tableFileText({}, {});
    QTemporaryDir dir;
    const std::string tablePath = QFile::encodeName(dir.filePath(QStringLiteral("demo.tbl"))).toStdString();
    const auto *tableBytes = reinterpret_cast<const std::uint8_t *>(table.data());
    if (!rom::OutputFile::write(tablePath, std::span(tableBytes, table.size()), {}).ok())
        return state.SkipWithError("the table file could not be written");
    choice.setTableFile(tablePath);
    choice.setText(NameTableChoice::AddressField, QStringLiteral("$C3:A400"));
    ImageNamesDialog dialog(choice, {}, nullptr);
    bench::showAndWaitForFirstFrame(dialog);
    auto *skip = dialog.findChild<QLineEdit *>(QStringLiteral("skipEdit"));
    auto *preview = dialog.findChild<QListView *>(QStringLiteral("namesPreview"));
    std::array<QStringList, 2> lists;
    for (int skipped = 0; skipped < 2; ++skipped) {
        choice.setText(NameTableChoice::SkipField, QString::number(skipped));
        lists[std::size_t(skipped)] = choice.preview();
    }
    QStringListModel plainModel;
    QListView plain;
    plain.setModel(&plainModel);
    plain.setUniformItemSizes(true);
    plain.resize(preview->size());
    bench::showAndWaitForFirstFrame(plain);
    int turn = 0;
    runInTurn(state,
              {{"dialog",
                [&] {
                    const QString text = QString::number(++turn % 2);
                    const Clock::time_point start = Clock::now();
                    skip->setText(text);
                    emit skip->textEdited(text); // as a key typed in the field
                    bench::waitForFirstFrame(*preview->viewport());
                    return secondsSince(start);
                }},
               {"plain_list",
                [&] {
                    const QStringList &names = lists[std::size_t(turn % 2)];
                    const Clock::time_point start = Clock::now();
                    plainModel.setStringList(names);
                    bench::waitForFirstFrame(*plain.viewport());
                    return secondsSince(start);
                }}},
              1e6, "us", {{0, 1}});
}

// The real calls, except that fsync() does nothing: opening an image closes
// the one open before, and the disk flush that costs has nothing to do with
// the size of the image being opened.
class UnsyncedFileAccess : public rom::FileAccess {
public:
    int fsync(int) override { return 0; }
};

// Opening the same image again, as when the user picks a file with File >
// Open ROM: the image that was open is closed once the new one has been read.
std::function<double()> reopening(MainWindow &window, const QString &image)
{
    bench::showAndWaitForFirstFrame(window);
    window.openImage(QFile::encodeName(image));
    return [&window, image] {
        const Clock::time_point start = Clock::now();
        window.openImage(QFile::encodeName(image));
        return secondsSince(start);
    };
}

void checkOpen(benchmark::State &state, std::initializer_list<const MainWindow *> windows)
{
    for (const MainWindow *window : windows)
        if (!window->windowTitle().contains(QStringLiteral("MOONLIT")))
            state.SkipWithError("an image did not open");
}

// The size of the image opened, alone.
void openImages(benchmark::State &state, const QString &small, const QString &large)
{
    UnsyncedFileAccess unsynced;
    MainWindow smallWindow(unsynced);
    MainWindow largeWindow(unsynced);
    runInTurn(state, {{"64MiB", reopening(largeWindow, large)}, {"4MiB", reopening(smallWindow, small)}}, 1e6, "us",
              {{0, 1}});
    checkOpen(state, {&smallWindow, &largeWindow});
}

// The flush of the image open before, which the user waits for too.
// Each window has an image of its own: the second window to open an image
// would find it locked by the first, and say so in a message box.
void openWithSync(benchmark::State &state, const QString &small, const QString &otherSmall)
{
    UnsyncedFileAccess unsynced;
    MainWindow syncingWindow;
    MainWindow window(unsynced);
    runInTurn(state, {{"fsync", reopening(syncingWindow, small)}, {"no_fsync", reopening(window, otherSmall)}}, 1e6,
              "us", {{0, 1}});
    checkOpen(state, {&syncingWindow, &window});
}

void printFigures(const std::map<std::string, bench::Figure> &figures)
{
    bench::FigureTable::printHeader(kRepetitions);
    const bench::FigureTable table(figures);
    table.time("start-up to first frame: main window", "startup:main_ms", "ms");
    table.time("start-up to first frame: bare window, same widgets and entries", "startup:bare_ms", "ms");
    table.ratio("start-up ratio, main / bare", "startup:main/bare", 1.15);
    table.time("shop step: main window, browsing (load next)", "sweep:window_us_per_step", "us");
    table.time("shop step: main window, a pick before each step (save shown, load next)",
               "sweep:window_picked_us_per_step", "us");
    table.time("shop step: pwrite + pread of 9 bytes", "sweep:raw_us_per_step", "us");
    table.ratio("shop step ratio, browsing / pwrite + pread", "sweep:window/raw");
    table.ratio("shop step ratio, with a pick / pwrite + pread", "sweep:window_picked/raw");
    table.time("shop step: stat + pwrite, stat + pread", "sweep:raw+stat_us_per_step", "us");
    table.ratio("shop step ratio, browsing / stat + pwrite, stat + pread", "sweep:window/raw+stat");
    table.ratio("shop step ratio, with a pick / stat + pwrite, stat + pread", "sweep:window_picked/raw+stat");
    table.time("open: 4 MiB image (image open before closed without fsync)", "open:4MiB_us", "us");
    table.time("open: 64 MiB image (image open before closed without fsync)", "open:64MiB_us", "us");
    table.ratio("open time ratio, 64 MiB / 4 MiB", "open:64MiB/4MiB", 1.1);
    table.time("open: 4 MiB image, unwritten image open before closed with fsync", "open_fsync:fsync_us", "us");
    table.time("open: the same without that fsync", "open_fsync:no_fsync_us", "us");
    table.ratio("open time ratio, with that fsync / without", "open_fsync:fsync/no_fsync");
    table.time("View > All Shops, to its first frame", "all_shops:all_shops_ms", "ms");
    table.time("a plain QTableView of the same 128 x 10 strings, to its first frame", "all_shops:plain_table_ms", "ms");
    table.ratio("All Shops ratio, All Shops / plain table", "all_shops:all_shops/plain_table", 1.3);
    table.time("All Shops: one keystroke of search, to the table's next frame", "search:keystroke_us", "us");
    table.time("Item Names from Image: a field changed, to the preview's next frame", "names_preview:dialog_us", "us");
    table.time("a plain QListView given the same 255 names, to its next frame", "names_preview:plain_list_us", "us");
    table.ratio("names preview ratio, dialog / plain list", "names_preview:dialog/plain_list", 1.3);
}

// Shows that the bare window holds the widgets the main window holds, class
// by class: a control the main window makes outside its form's table would
// make the baseline wrong.
void compareWithBaseline()
{
    const QMap<QString, int> real = bench::widgetCensus(MainWindow());
    const QMap<QString, int> bare = bench::widgetCensus(*bench::buildBareWindow());
    QMap<QString, int> difference = real;
    for (const auto &[name, count] : bare.asKeyValueRange())
        difference[name] -= count;
    QStringList parts;
    for (const auto &[name, count] : difference.asKeyValueRange())
        if (count != 0)
            parts.append(QString::asprintf("%s %+d", qPrintable(name), count));
    int widgets = 0;
    for (const int count : real)
        widgets += count;
    if (parts.isEmpty())
        std::printf("Bare window and main window: %d widgets each, the same of every class.\n", widgets);
    else
        std::printf("WARNING: the windows' widgets differ, by class (main less bare): %s\n",
                    qPrintable(parts.join(QStringLiteral(", "))));
}

} // namespace

int main(int argc, char **argv)
{
    bench::useOffscreenPlatform();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    QApplication app(argc, argv);
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());

    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("bench: cannot make a temporary directory");
    const QString sweepImage = dir.filePath(QStringLiteral("sweep.smc"));
    const QString rawSweepImage = dir.filePath(QStringLiteral("sweep-raw.smc"));
    const QString smallImage = dir.filePath(QStringLiteral("small.smc"));
    const QString otherSmallImage = dir.filePath(QStringLiteral("small-2.smc"));
    const QString largeImage = dir.filePath(QStringLiteral("large.smc"));
    bench::writeDemoImage(sweepImage, kSmallCartridge);
    bench::writeDemoImage(rawSweepImage, kSmallCartridge);
    bench::writeDemoImage(smallImage, kSmallCartridge);
    bench::writeDemoImage(otherSmallImage, kSmallCartridge);
    bench::writeDemoImage(largeImage, kLargeCartridge);

    {
        // The first window of a process loads fonts and styles: pay that here.
        MainWindow real;
        bench::showAndWaitForFirstFrame(real);
    }
    bench::showAndWaitForFirstFrame(*bench::buildBareWindow());
    bench::flushDeferredDeletes();
    compareWithBaseline();

    bench::configure(benchmark::RegisterBenchmark("startup", startUp), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("sweep", sweepShops, sweepImage, rawSweepImage), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("open", openImages, smallImage, largeImage), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("open_fsync", openWithSync, smallImage, otherSmallImage), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("all_shops", openAllShops, smallImage), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("search", searchAllShops, smallImage), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("names_preview", previewNames, smallImage), kRepetitions);

    bench::FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printFigures(reporter.figures);
    return 0;
}
