#include "RomFile.h"

#include <cerrno>
#include <fcntl.h>
#include <utility>

namespace rom {

namespace {

// Never become a controlling terminal, never block in open(), never leak into child processes.
constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

RomError openErrorFor(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return RomError::NotFound;
    case EISDIR: return RomError::IsDirectory;
    case EACCES:
    case EPERM: return RomError::AccessDenied;
    default: return RomError::ReadFailed;
    }
}

// Repeats a positioned read or write until count bytes have moved. call(done)
// moves some of the bytes after the first done; interrupted calls are retried.
template <typename Call>
bool transferAll(std::size_t count, Call call)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t moved = call(done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return false;
        done += std::size_t(moved);
    }
    return true;
}

} // namespace

RomFile::RomFile(FileAccess &files) : m_files(&files) {}

RomFile::~RomFile() { release(); }

RomFile::RomFile(RomFile &&other) noexcept
    : m_files(other.m_files), m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)),
      m_layout(other.m_layout), m_device(other.m_device), m_inode(other.m_inode), m_size(other.m_size)
{
}

RomFile &RomFile::operator=(RomFile &&other) noexcept
{
    if (this != &other) {
        release();
        m_files = other.m_files;
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_layout = other.m_layout;
        m_device = other.m_device;
        m_inode = other.m_inode;
        m_size = other.m_size;
    }
    return *this;
}

RomError RomFile::open(const std::string &path)
{
    if (path.empty())
        return RomError::NoFileName;
    // The system would stop reading the name at a NUL and open another file.
    if (path.find('\0') != std::string::npos)
        return RomError::NotFound;
    RomFile candidate(*m_files);
    struct stat info {};
    if (const RomError error = candidate.openChecked(path, candidate.m_fd, info); error != RomError::None)
        return error;
    candidate.m_path = path;
    if (const RomError error = candidate.checkImage(info); error != RomError::None)
        return error;
    *this = std::move(candidate);
    return RomError::None;
}

RomError RomFile::openChecked(const std::string &path, int &fd, struct stat &info)
{
    // Look before opening: opening a device or a pipe can block or have side effects.
    if (m_files->stat(path.c_str(), &info) != 0)
        return openErrorFor(errno);
    if (S_ISDIR(info.st_mode))
        return RomError::IsDirectory;
    if (!S_ISREG(info.st_mode))
        return RomError::NotRegularFile;

    fd = m_files->open(path.c_str(), O_RDWR | kOpenFlags);
    if (fd < 0) {
        const int error = errno;
        if (error != EACCES && error != EPERM && error != EROFS && error != ETXTBSY)
            return openErrorFor(error);
        const int readFd = m_files->open(path.c_str(), O_RDONLY | kOpenFlags);
        if (readFd < 0)
            return RomError::AccessDenied;
        m_files->close(readFd);
        return RomError::ReadOnly;
    }
    // The path may have been swapped for something else between the two calls.
    if (m_files->fstat(fd, &info) != 0)
        return RomError::ReadFailed;
    return S_ISREG(info.st_mode) ? RomError::None : RomError::NotRegularFile;
}

RomError RomFile::checkImage(const struct stat &info)
{
    const auto size = std::uint64_t(info.st_size);
    const auto layout = layoutForFileSize(size);
    if (!layout)
        return RomError::BadSize;
    if (size < fileOffset(*layout, kShopTableEnd))
        return RomError::TooSmall;
    std::uint8_t mapMode = 0;
    if (const RomError error = readAt(fileOffset(*layout, kMapModeOffset), &mapMode, 1); error != RomError::None)
        return error;
    if (!isHiRomMapMode(mapMode))
        return RomError::NotHiRom;
    m_layout = *layout;
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_size = info.st_size;
    return RomError::None;
}

RomError RomFile::close()
{
    if (!isOpen())
        return RomError::None;
    // Every write already reached the system; closing makes them durable.
    const bool synced = m_files->fsync(m_fd) == 0;
    const bool closed = m_files->close(std::exchange(m_fd, -1)) == 0;
    m_path.clear();
    return synced && closed ? RomError::None : RomError::FlushFailed;
}

void RomFile::release() { (void)close(); }

RomError RomFile::readName(std::string &name)
{
    if (const RomError error = checkUsable(); error != RomError::None)
        return error;
    std::uint8_t bytes[kNameLength];
    if (const RomError error = readAt(fileOffset(m_layout, kNameOffset), bytes, kNameLength); error != RomError::None)
        return error;
    name.assign(reinterpret_cast<const char *>(bytes), kNameLength);
    return RomError::None;
}

RomError RomFile::readShop(int index, ShopRecord &record)
{
    if (const RomError error = checkUsable(index); error != RomError::None)
        return error;
    // One positioned read: the record is never seen half old, half new.
    ShopRecord::Bytes bytes{};
    if (const RomError error = readAt(shopFileOffset(m_layout, index), bytes.data(), bytes.size());
        error != RomError::None)
        return error;
    record = ShopRecord::fromBytes(bytes);
    return RomError::None;
}

RomError RomFile::writeShop(int index, const ShopRecord &record)
{
    if (const RomError error = checkUsable(index); error != RomError::None)
        return error;
    // One positioned write: a crash cannot leave the record half written.
    const ShopRecord::Bytes bytes = record.toBytes();
    return writeAt(shopFileOffset(m_layout, index), bytes.data(), bytes.size());
}

RomError RomFile::checkUsable(int index) const
{
    if (index < 0 || index >= kShopCount)
        return RomError::BadShopIndex;
    return checkUsable();
}

RomError RomFile::checkUsable() const
{
    return isOpen() ? checkSameFile() : RomError::NotOpen;
}

RomError RomFile::checkSameFile() const
{
    struct stat info {};
    if (m_files->stat(m_path.c_str(), &info) != 0)
        return RomError::FileChanged;
    const bool same = info.st_dev == m_device && info.st_ino == m_inode && info.st_size == m_size;
    return same ? RomError::None : RomError::FileChanged;
}

RomError RomFile::readAt(std::uint64_t offset, std::uint8_t *buffer, std::size_t count) const
{
    const bool ok = transferAll(count, [&](std::size_t done) {
        return m_files->pread(m_fd, buffer + done, count - done, off_t(offset + done));
    });
    return ok ? RomError::None : RomError::ReadFailed;
}

RomError RomFile::writeAt(std::uint64_t offset, const std::uint8_t *buffer, std::size_t count) const
{
    const bool ok = transferAll(count, [&](std::size_t done) {
        return m_files->pwrite(m_fd, buffer + done, count - done, off_t(offset + done));
    });
    return ok ? RomError::None : RomError::WriteFailed;
}

} // namespace rom
