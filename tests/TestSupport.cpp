#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>

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
    for (const QFileInfo &info : QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        entries.append(QStringLiteral("%1 %2").arg(info.fileName()).arg(info.isFile() ? info.size() : -1));
    return entries;
}

std::uint64_t shopOffset(rom::ImageLayout layout, int index)
{
    return (layout == rom::ImageLayout::Headered ? 0x47CC0 : 0x47AC0) + 9 * std::uint64_t(index);
}

int FaultyFileAccess::open(const char *path, int flags)
{
    const bool forWriting = (flags & O_ACCMODE) != O_RDONLY;
    if ((forWriting && openError) || (!forWriting && denyRead)) {
        errno = forWriting ? openError : EACCES;
        return -1;
    }
    return FileAccess::open(path, flags);
}

ssize_t FaultyFileAccess::pread(int fd, void *buffer, size_t count, off_t offset)
{
    if (readError) {
        errno = readError;
        return -1;
    }
    return FileAccess::pread(fd, buffer, count, offset);
}

ssize_t FaultyFileAccess::pwrite(int fd, const void *buffer, size_t count, off_t offset)
{
    ++writes;
    if (interruptions > 0) {
        --interruptions;
        errno = EINTR;
        return -1;
    }
    if (writeError) {
        errno = writeError;
        return -1;
    }
    return FileAccess::pwrite(fd, buffer, oneByteAtATime ? 1 : count, offset);
}

int FaultyFileAccess::fsync(int fd)
{
    if (fsyncError) {
        errno = fsyncError;
        return -1;
    }
    return FileAccess::fsync(fd);
}
