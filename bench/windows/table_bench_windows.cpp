// shop-table's speed on Windows (here, under Wine) as a sanity check, measured
// as table-bench measures it on Linux but without Google Benchmark, which has
// no build for Windows here: export of a 4 MiB image by a new process against
// a new process that reads the same 1152 bytes (this program, --read-table),
// the patches and the checksum of 64 MiB images against a plain read of the
// same files. Contenders run in turn, a different one first each time;
// prints each ratio of total times.
//   table-bench-windows SHOP-TABLE.EXE [FOLDER]
#include "DemoImage.h"
#include "ProgramArguments.h"
#include "RomFile.h"
#include "TableTools.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;
constexpr std::uint64_t kSmallCartridge = 0x400000;  // 4 MiB
constexpr std::uint64_t kLargeCartridge = 0x4000000; // 64 MiB
// Shops that differ between the clean and the modified 64 MiB image, as in a hack.
constexpr int kChangedShops = 12;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

[[noreturn]] void quit(const std::string &why)
{
    std::fprintf(stderr, "table-bench-windows: %s\n", why.c_str());
    std::exit(1);
}

std::wstring wide(const std::string &text) { return rom::FilePath(text).system().wstring(); }

// Runs a command line with its standard output thrown away; the seconds from starting it to its end.
double runProgram(const std::string &commandLine)
{
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE nothing = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = nothing;
    start.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring line = wide(commandLine);
    const Clock::time_point begun = Clock::now();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process))
        quit("cannot run " + commandLine);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = secondsSince(begun);
    DWORD status = 1;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(nothing);
    if (status != 0)
        quit(commandLine + " failed");
    return seconds;
}

// What reading a file costs at least: open, its size, one read of it all into new memory, close.
double plainRead(const std::string &path)
{
    const Clock::time_point start = Clock::now();
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    LARGE_INTEGER size{};
    if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size))
        quit("cannot open " + path);
    const auto bytes = std::make_unique<char[]>(std::size_t(size.QuadPart));
    DWORD got = 0;
    const bool read = ::ReadFile(file, bytes.get(), DWORD(size.QuadPart), &got, nullptr) && got == size.QuadPart;
    ::CloseHandle(file);
    if (!read)
        quit("cannot read " + path);
    return secondsSince(start);
}

// The baseline process of export: opens the image and reads the table's bytes.
int readTable(const std::string &path)
{
    rom::RomFile image;
    rom::ShopTable table;
    return image.open(path, rom::Access::ReadOnly) == rom::RomError::None &&
                   image.readTable(table) == rom::RomError::None
               ? 0
               : 1;
}

std::string makeImage(const std::string &folder, const std::string &name, std::uint64_t cartridgeSize, int changed)
{
    demo::DemoImageOptions options;
    options.cartridgeSize = cartridgeSize;
    const std::string path = folder + "\\" + name;
    if (const std::string error = demo::writeImageFile(path, demo::makeDemoImage(options), true); !error.empty())
        quit(error);
    rom::RomFile image;
    if (image.open(path) != rom::RomError::None)
        quit("cannot open " + path);
    for (int shop = 0; shop < changed; ++shop)
        if (image.writeShop(shop * 10, rom::ShopRecord{0x01, {1, 2, 3, 4, 5, 6, 7, 0xFF}}) != rom::RomError::None)
            quit("cannot write " + path);
    return path;
}

// The ratio of the total seconds of a contender to those of its baseline,
// run in turn kRounds times, each first in every other round.
double ratio(const std::function<double()> &contender, const std::function<double()> &baseline)
{
    double contenderSeconds = 0;
    double baselineSeconds = 0;
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            contenderSeconds += contender();
            baselineSeconds += baseline();
        } else {
            baselineSeconds += baseline();
            contenderSeconds += contender();
        }
    }
    return contenderSeconds / baselineSeconds;
}

double patchSeconds(const std::string &clean, const std::string &modified, rom::PatchFormat format)
{
    const Clock::time_point start = Clock::now();
    std::vector<std::uint8_t> patch;
    if (!rom::TableTools::makePatch(clean, modified, format, patch).ok())
        quit("cannot make a patch");
    return secondsSince(start);
}

double checksumSeconds(const std::string &path)
{
    const Clock::time_point start = Clock::now();
    rom::RomFile image;
    std::optional<rom::CartridgeChecksum> sum;
    if (!rom::TableTools::open(image, path, rom::Access::ReadOnly).ok() || !rom::TableTools::checksum(image, sum).ok())
        quit("cannot sum " + path);
    return secondsSince(start);
}

} // namespace

int main(int argc, char **systemArgv)
{
    rom::ProgramArguments arguments(argc, systemArgv);
    char **argv = arguments.values();
    if (argc == 3 && std::string(argv[1]) == "--read-table")
        return readTable(argv[2]);
    if (argc < 2 || argc > 3) {
        std::fputs("usage: table-bench-windows SHOP-TABLE.EXE [FOLDER]\n", stderr);
        return 2;
    }
    const std::string table = argv[1];
    const std::string folder = argc == 3 ? argv[2] : ".";
    const std::string small = makeImage(folder, "bench-small.smc", kSmallCartridge, 0);
    const std::string clean = makeImage(folder, "bench-clean.smc", kLargeCartridge, 0);
    const std::string modified = makeImage(folder, "bench-modified.smc", kLargeCartridge, kChangedShops);
    const auto readBoth = [&] { return plainRead(clean) + plainRead(modified); };
    const std::string self = argv[0];
    std::printf("export      %.2f\n", ratio([&] { return runProgram("\"" + table + "\" export \"" + small + "\""); },
                                             [&] { return runProgram("\"" + self + "\" --read-table \"" + small + "\""); }));
    std::printf("patch_ips   %.2f\n",
                ratio([&] { return patchSeconds(clean, modified, rom::PatchFormat::Ips); }, readBoth));
    std::printf("patch_bps   %.2f\n",
                ratio([&] { return patchSeconds(clean, modified, rom::PatchFormat::Bps); }, readBoth));
    std::printf("checksum    %.2f\n", ratio([&] { return checksumSeconds(clean); }, [&] { return plainRead(clean); }));
    for (const std::string &path : {small, clean, modified})
        ::DeleteFileW(wide(path).c_str());
    return 0;
}
