// Speed of shop-table against baselines measured in the same run: export
// of a 4 MiB image by a new process against a new Qt Core process that reads
// the same 1152 bytes, the patch and checksum of 64 MiB images, and the
// relative search for the item name table of 4 and 64 MiB images, against a
// plain read of the same files. Prints the ratios after the benchmarks.
#include "Contenders.h"
#include "FigureTable.h"

#include "DemoImage.h"
#include "NameTools.h"
#include "RomFile.h"
#include "TableTools.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using bench::Clock;
using bench::secondsSince;

constexpr int kRepetitions = 5;
constexpr std::uint64_t kSmallCartridge = 0x400000;  // 4 MiB
constexpr std::uint64_t kLargeCartridge = 0x4000000; // 64 MiB
// Shops that differ between the clean and the modified 64 MiB image, as in a hack.
constexpr int kChangedShops = 12;

[[noreturn]] void quit(const std::string &why)
{
    std::fprintf(stderr, "table-bench: %s\n", why.c_str());
    std::exit(1);
}

// Runs a program with its standard output thrown away; the seconds from
// starting it to its end.
double runProgram(std::vector<std::string> arguments)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    int status = 0;
    while (spawned == 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const double seconds = secondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        quit("running " + arguments.front() + " failed");
    return seconds;
}

// What reading a file costs at least: open, its size, one pread of it all
// into new memory, close.
double plainRead(const std::string &path)
{
    const Clock::time_point start = Clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        quit("cannot open " + path);
    const auto size = std::size_t(info.st_size);
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
    std::size_t done = 0;
    for (ssize_t got = 1; done < size && got > 0; done += std::size_t(got))
        got = ::pread(fd, bytes.get() + done, size - done, off_t(done));
    ::close(fd);
    benchmark::DoNotOptimize(bytes[size - 1]);
    const double seconds = secondsSince(start);
    if (done != size)
        quit("cannot read " + path);
    return seconds;
}

void writeImage(const std::string &path, std::uint64_t cartridgeSize)
{
    demo::DemoImageOptions options;
    options.cartridgeSize = cartridgeSize;
    if (const std::string error = demo::writeImageFile(path, demo::makeDemoImage(options), true); !error.empty())
        quit(error);
}

// Changes changedShops shops of an image and flushes it to the disk (closing
// an image open for writing does), so that no flush during the benchmarks
// pays for writing it.
void modify(const std::string &path, int changedShops)
{
    rom::RomFile image;
    if (image.open(path) != rom::RomError::None)
        quit("cannot open " + path);
    for (int shop = 0; shop < changedShops; ++shop)
        if (image.writeShop(shop * 10, rom::ShopRecord{0x01, {1, 2, 3, 4, 5, 6, 7, 0xFF}}) != rom::RomError::None)
            quit("cannot write " + path);
    if (image.close() != rom::RomError::None)
        quit("cannot flush " + path);
}

void exportTable(benchmark::State &state, const std::string &image)
{
    bench::runInTurn(state,
                     {
                         {"shop_table", [&] { return runProgram({SHOP_TABLE_PROGRAM, "export", image}); }},
                         {"qt_core_read", [&] { return runProgram({READ_BASELINE_PROGRAM, image}); }},
                     },
                     1e3, "ms", {{0, 1}});
}

double timePatch(const std::string &clean, const std::string &modified, rom::PatchFormat format)
{
    const Clock::time_point start = Clock::now();
    std::vector<std::uint8_t> patch;
    if (!rom::TableTools::makePatch(clean, modified, format, patch).ok())
        quit("cannot make a patch");
    benchmark::DoNotOptimize(patch.data());
    return secondsSince(start);
}

void makePatch(benchmark::State &state, const std::string &clean, const std::string &modified)
{
    bench::runInTurn(state,
                     {
                         {"ips", [&] { return timePatch(clean, modified, rom::PatchFormat::Ips); }},
                         {"bps", [&] { return timePatch(clean, modified, rom::PatchFormat::Bps); }},
                         {"read", [&] { return plainRead(clean) + plainRead(modified); }},
                     },
                     1e3, "ms", {{0, 2}, {1, 2}});
}

double timeChecksum(const std::string &path)
{
    const Clock::time_point start = Clock::now();
    rom::RomFile image;
    std::optional<rom::CartridgeChecksum> sum;
    if (!rom::TableTools::open(image, path, rom::Access::ReadOnly).ok() || !rom::TableTools::checksum(image, sum).ok())
        quit("cannot sum " + path);
    benchmark::DoNotOptimize(sum->computed());
    (void)image.close();
    return secondsSince(start);
}

void checksum(benchmark::State &state, const std::string &image)
{
    bench::runInTurn(state, {{"checksum", [&] { return timeChecksum(image); }}, {"read", [&] { return plainRead(image); }}},
                     1e3, "ms", {{0, 1}});
}

// What find-names does: the image opened, its cartridge read whole, and
// the relative search for two names of the demonstration table.
double timeFind(const std::string &path)
{
    const Clock::time_point start = Clock::now();
    rom::CartridgeBytes cartridge;
    rom::ImageLayout layout{};
    rom::SearchResult result;
    if (!rom::NameTools::readCartridge(path, cartridge, layout).ok() ||
        !rom::NameTools::findNames(path, cartridge, {{0x01, "Copper Dagger"}, {0x1F, "Iron Mace"}}, result).ok() ||
        result.found != 1)
        quit("cannot find the names in " + path);
    benchmark::DoNotOptimize(result.placements.data());
    return secondsSince(start);
}

void findNames(benchmark::State &state, const std::string &image)
{
    bench::runInTurn(state, {{"find", [&] { return timeFind(image); }}, {"read", [&] { return plainRead(image); }}},
                     1e3, "ms", {{0, 1}});
}

void printFigures(const std::map<std::string, bench::Figure> &figures)
{
    bench::FigureTable::printHeader(kRepetitions);
    const bench::FigureTable table(figures);
    table.time("shop-table export of a 4 MiB image, new process, to the end", "export:shop_table_ms", "ms");
    table.time("Qt Core program reading the table's 1152 bytes, new process", "export:qt_core_read_ms", "ms");
    table.ratio("shop-table export ratio, shop-table / Qt Core read", "export:shop_table/qt_core_read", 1.5);
    table.time("patch of two 64 MiB images: IPS (TableTools::makePatch)", "patch:ips_ms", "ms");
    table.time("patch of two 64 MiB images: BPS", "patch:bps_ms", "ms");
    table.time("plain read of both 64 MiB images", "patch:read_ms", "ms");
    table.ratio("patch ratio, IPS / plain read of both", "patch:ips/read", 1.2);
    table.ratio("patch ratio, BPS / plain read of both", "patch:bps/read", 1.2);
    table.time("checksum of a 64 MiB image (open, read, sum)", "checksum:checksum_ms", "ms");
    table.time("plain read of the 64 MiB image", "checksum:read_ms", "ms");
    table.ratio("checksum ratio, checksum / plain read", "checksum:checksum/read", 1.2);
    table.time("find-names in a 4 MiB image (open, read, relative search)", "find_4mib:find_ms", "ms");
    table.time("plain read of the 4 MiB image", "find_4mib:read_ms", "ms");
    table.ratio("find-names ratio, 4 MiB, find / plain read", "find_4mib:find/read", 2.0);
    table.time("find-names in a 64 MiB image (open, read, relative search)", "find_64mib:find_ms", "ms");
    table.time("plain read of the 64 MiB image", "find_64mib:read_ms", "ms");
    table.ratio("find-names ratio, 64 MiB, find / plain read", "find_64mib:find/read", 2.0);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    char folder[] = "/tmp/table-bench-XXXXXX";
    if (!::mkdtemp(folder))
        quit("cannot make a temporary folder");
    const std::string small = std::string(folder) + "/small.smc";
    const std::string clean = std::string(folder) + "/clean.smc";
    const std::string modified = std::string(folder) + "/modified.smc";
    writeImage(small, kSmallCartridge);
    writeImage(clean, kLargeCartridge);
    writeImage(modified, kLargeCartridge);
    modify(small, 0);
    modify(clean, 0);
    modify(modified, kChangedShops);

    bench::configure(benchmark::RegisterBenchmark("export", exportTable, small), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("patch", makePatch, clean, modified), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("checksum", checksum, clean), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("find_4mib", findNames, small), kRepetitions);
    bench::configure(benchmark::RegisterBenchmark("find_64mib", findNames, clean), kRepetitions);
    bench::FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printFigures(reporter.figures);
    for (const std::string &path : {small, clean, modified})
        ::unlink(path.c_str());
    ::rmdir(folder);
    return 0;
}
