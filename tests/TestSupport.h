#pragma once

#include "DemoImage.h"
#include "FileAccess.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Settings go to a folder of this process's own, so two runs of a test at
// once (two builds, a rerun beside a full run) never read each other's.
void isolateSettings();

// A small image (384 KiB of cartridge) keeps whole-file comparisons cheap.
demo::DemoImageOptions smallImage(rom::ImageLayout layout, std::uint32_t seed = 1);
// Writes bytes to a new file in dir and returns its path.
QString writeFile(const QTemporaryDir &dir, const QString &name, const Bytes &bytes);
QString writeImage(const QTemporaryDir &dir, const QString &name, const demo::DemoImageOptions &options);
Bytes readFile(const QString &path);
// Offsets where two files differ; a size difference shows as offset -1.
QList<qint64> changedOffsets(const Bytes &before, const Bytes &after);
// Names and sizes of everything in dir, hidden files too, to prove nothing was created or resized.
QStringList listing(const QTemporaryDir &dir);
// Files in dir that are not images the editor can use, or only just are:
// folder, fifo.smc, empty.smc, odd.smc (odd size), short-headered.smc and
// short-headerless.smc (table cut off), small-headerless.smc (just holds the
// table), lorom.smc, lorom-headerless.sfc, exhirom.smc (map mode 0x35).
void writeUnusualFiles(const QTemporaryDir &dir);
std::uint64_t shopOffset(rom::ImageLayout layout, int index);

// The real system calls, with faults switched on by the test.
class FaultyFileAccess : public rom::FileAccess {
public:
    int readError = 0;      // errno for every pread, 0 for none
    int writeError = 0;     // errno for every pwrite
    // What the next calls to pwrite do, in turn: n >= 0 writes at most n
    // bytes, a negative value fails with errno -n. Then as above.
    std::deque<int> writePlan;
    int fallocateError = 0; // errno for reserving space
    std::function<void()> beforeWrite;   // runs before each pwrite, as another program might
    std::function<void()> beforeReserve; // runs before each fallocate, which comes before the last look at the size
    int fsyncError = 0;     // errno for fsync and fdatasync
    int openError = 0;      // errno for opening for writing
    bool denyRead = false;  // opening for reading fails too
    bool oneByteAtATime = false;
    int interruptions = 0;  // the next calls to pwrite fail with EINTR
    int writes = 0;
    int tableReads = 0; // preads of the whole shop table
    int syncs = 0;     // fsync calls
    int dataSyncs = 0; // fdatasync calls

    rom::FileHandle open(const rom::FilePath &path, rom::OpenMode mode) override;
    std::ptrdiff_t pread(rom::FileHandle file, void *buffer, std::size_t count, std::int64_t offset) override;
    std::ptrdiff_t pwrite(rom::FileHandle file, const void *buffer, std::size_t count, std::int64_t offset) override;
    int fallocate(rom::FileHandle file, std::int64_t offset, std::int64_t length) override;
    int fdatasync(rom::FileHandle file) override;
    int fsync(rom::FileHandle file) override;
};
