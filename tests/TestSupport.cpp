#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

void isolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
}

demo::DemoImageOptions smallImage(rom::ImageLayout layout, std::uint32_t seed)
{
    demo::DemoImageOptions options;
    options.layout = layout;
    options.cartridgeSize = 0x60000;
    options.seed = seed;
    options.unlabelledTypes = true;
    return options;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const Bytes &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString writeImage(const QTemporaryDir &dir, const QString &name, const demo::DemoImageOptions &options)
{
    return writeFile(dir, name, demo::makeDemoImage(options));
}

Bytes readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

QList<qint64> changedOffsets(const Bytes &before, const Bytes &after)
{
    QList<qint64> offsets;
    if (before.size() != after.size())
        offsets.append(-1);
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        if (before[i] != after[i])
            offsets.append(qint64(i));
    return offsets;
}

QStringList listing(const QTemporaryDir &dir)
{
    QStringList entries;
    const auto filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden;
    for (const QFileInfo &info : QDir(dir.path()).entryInfoList(filters))
        entries.append(QStringLiteral("%1 %2").arg(info.fileName()).arg(info.isFile() ? info.size() : -1));
    return entries;
}

void writeUnusualFiles(const QTemporaryDir &dir)
{
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    ::mkfifo(qPrintable(dir.filePath(QStringLiteral("fifo.smc"))), 0644);
    QFile::link(QStringLiteral("loop.smc"), dir.filePath(QStringLiteral("loop.smc")));
    const Bytes image = demo::makeDemoImage(smallImage(rom::ImageLayout::Headered));
    const Bytes headerless = demo::makeDemoImage(smallImage(rom::ImageLayout::Headerless));
    auto cut = [](const Bytes &bytes, std::size_t size) { return Bytes(bytes.begin(), bytes.begin() + qsizetype(size)); };
    auto withMapMode = [](Bytes bytes, std::uint64_t at, std::uint8_t mode) {
        bytes[at] = mode;
        return bytes;
    };
    writeFile(dir, QStringLiteral("empty.smc"), {});
    writeFile(dir, QStringLiteral("odd.smc"), cut(image, image.size() - 1));
    writeFile(dir, QStringLiteral("short-headered.smc"), cut(image, 0x47E00));
    writeFile(dir, QStringLiteral("short-headerless.smc"), cut(headerless, 0x47C00));
    writeFile(dir, QStringLiteral("small-headerless.smc"), cut(headerless, 0x48000));
    writeFile(dir, QStringLiteral("lorom.smc"), withMapMode(image, 0x101D5, 0x30));
    writeFile(dir, QStringLiteral("lorom-headerless.sfc"), withMapMode(headerless, 0xFFD5, 0x20));
    writeFile(dir, QStringLiteral("exhirom.smc"), withMapMode(image, 0x101D5, 0x35));
}

std::uint64_t shopOffset(rom::ImageLayout layout, int index)
{
    return (layout == rom::ImageLayout::Headered ? 0x47CC0 : 0x47AC0) + 9 * std::uint64_t(index);
}

rom::FileHandle FaultyFileAccess::open(const rom::FilePath &path, rom::OpenMode mode)
{
    const bool forWriting = mode == rom::OpenMode::ReadWrite;
    if ((forWriting && openError) || (!forWriting && denyRead)) {
        errno = forWriting ? openError : EACCES;
        return rom::kNoFile;
    }
    return FileAccess::open(path, mode);
}

std::ptrdiff_t FaultyFileAccess::pread(rom::FileHandle fd, void *buffer, std::size_t count, std::int64_t offset)
{
    if (count == rom::kShopCount * rom::kShopRecordSize)
        ++tableReads;
    if (readError) {
        errno = readError;
        return -1;
    }
    return FileAccess::pread(fd, buffer, count, offset);
}

std::ptrdiff_t FaultyFileAccess::pwrite(rom::FileHandle fd, const void *buffer, std::size_t count, std::int64_t offset)
{
    ++writes;
    if (beforeWrite)
        beforeWrite();
    if (interruptions > 0) {
        --interruptions;
        errno = EINTR;
        return -1;
    }
    std::size_t limit = oneByteAtATime ? 1 : count;
    if (!writePlan.empty()) {
        const int plan = writePlan.front();
        writePlan.pop_front();
        if (plan < 0) {
            errno = -plan;
            return -1;
        }
        limit = std::min(limit, std::size_t(plan));
    } else if (writeError) {
        errno = writeError;
        return -1;
    }
    return FileAccess::pwrite(fd, buffer, std::min(count, limit), offset);
}

int FaultyFileAccess::fallocate(rom::FileHandle fd, std::int64_t offset, std::int64_t length)
{
    if (beforeReserve)
        beforeReserve();
    if (fallocateError) {
        errno = fallocateError;
        return -1;
    }
    return FileAccess::fallocate(fd, offset, length);
}

int FaultyFileAccess::fdatasync(rom::FileHandle fd)
{
    ++dataSyncs;
    if (fsyncError) {
        errno = fsyncError;
        return -1;
    }
    return FileAccess::fdatasync(fd);
}

int FaultyFileAccess::fsync(rom::FileHandle fd)
{
    ++syncs;
    if (fsyncError) {
        errno = fsyncError;
        return -1;
    }
    return FileAccess::fsync(fd);
}
