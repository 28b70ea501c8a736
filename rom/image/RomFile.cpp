#include "RomFile.h"

#include "PositionedWrite.h"
#include "Transfer.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace rom {

namespace {

RomError openErrorFor(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return RomError::NotFound;
    case EISDIR: return RomError::IsDirectory;
    case ELOOP: return RomError::SymlinkLoop;
    case ENAMETOOLONG: return RomError::NameTooLong;
    case EACCES:
    case EPERM: return RomError::AccessDenied;
    // Another program holds the file open with a sharing mode (Windows) or a
    // lease (Linux) that refuses what is asked.
    case EWOULDBLOCK: return RomError::InUse;
    default: return RomError::ReadFailed;
    }
}

} // namespace

RomFile::RomFile(FileAccess &files) : m_files(&files) {}

RomFile::~RomFile() { (void)close(); }

RomFile::RomFile(RomFile &&other) noexcept : m_files(other.m_files) { *this = std::move(other); }

RomFile &RomFile::operator=(RomFile &&other) noexcept
{
    if (this != &other) {
        (void)close();
        m_files = other.m_files;
        m_file = std::exchange(other.m_file, kNoFile);
        m_path = std::move(other.m_path);
        m_access = other.m_access;
        m_layout = other.m_layout;
        m_opened = other.m_opened;
        m_modified = other.m_modified;
        m_changed = other.m_changed;
    }
    return *this;
}

RomError RomFile::open(const FilePath &path, Access access, const RomFile *sharing)
{
    (void)close();
    if (path.empty())
        return RomError::NoFileName;
    if (path.holdsNul())
        return RomError::NotFound;
    FileStatus info;
    RomError error = openChecked(path, access, sharing, info);
    if (error == RomError::None)
        error = checkImage(info);
    if (error != RomError::None) {
        (void)close();
        return error;
    }
    m_path = path;
    m_access = access;
    return RomError::None;
}

RomError RomFile::openChecked(const FilePath &path, Access access, const RomFile *sharing, FileStatus &info)
{
    // Look before opening: opening a device or a pipe can block or have side effects.
    if (m_files->stat(path, info) != 0)
        return openErrorFor(errno);
    if (info.kind == FileKind::Directory)
        return RomError::IsDirectory;
    if (info.kind != FileKind::Regular)
        return RomError::NotRegularFile;

    const bool shared = access == Access::ReadWrite && sharing && sharing->isOpen() &&
                        sharing->m_access == Access::ReadWrite && sameFile(sharing->m_opened, info);
    if (shared) {
        // The same open file, so the same lock.
        m_file = m_files->dup(sharing->m_file);
        if (m_file == kNoFile)
            return RomError::ReadFailed;
    } else {
        m_file = m_files->open(path, access == Access::ReadWrite ? OpenMode::ReadWrite : OpenMode::Read);
        if (m_file == kNoFile) {
            const int error = errno;
            if (access == Access::ReadOnly || (error != EACCES && error != EPERM && error != EROFS && error != ETXTBSY))
                return openErrorFor(error);
            const FileHandle readOnly = m_files->open(path, OpenMode::Read);
            if (readOnly == kNoFile)
                return RomError::AccessDenied;
            m_files->close(readOnly);
            return RomError::ReadOnly;
        }
        if (access == Access::ReadWrite)
            if (const RomError error = lock(); error != RomError::None)
                return error;
    }
    // The path may have been swapped for something else between the calls.
    if (m_files->fstat(m_file, info) != 0)
        return RomError::ReadFailed;
    return info.kind == FileKind::Regular ? RomError::None : RomError::NotRegularFile;
}

RomError RomFile::lock()
{
    int result = 0;
    while ((result = m_files->flock(m_file, true)) != 0 && errno == EINTR) {
    }
    if (result == 0)
        return RomError::None;
    // A file system without locks (some network ones) is edited unlocked.
    return errno == EWOULDBLOCK ? RomError::InUse : RomError::None;
}

RomError RomFile::checkImage(const FileStatus &info)
{
    const auto size = std::uint64_t(info.size);
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
    m_opened = info;
    remember(info);
    return RomError::None;
}

void RomFile::remember(const FileStatus &info)
{
    m_modified = info.modified;
    m_changed = info.changed;
}

RomError RomFile::close()
{
    if (!isOpen())
        return RomError::None;
    // Every write already reached the system; closing makes them durable.
    const bool synced = m_access == Access::ReadOnly || m_files->fsync(m_file) == 0;
    const bool closed = m_files->close(std::exchange(m_file, kNoFile)) == 0;
    m_path = {};
    return synced && closed ? RomError::None : RomError::FlushFailed;
}

RomError RomFile::sync()
{
    if (!isOpen())
        return RomError::NotOpen;
    return m_files->fdatasync(m_file) == 0 ? RomError::None : RomError::FlushFailed;
}

RomError RomFile::checkForChanges(bool &changed)
{
    changed = false;
    if (!isOpen())
        return RomError::NotOpen;
    FileStatus info;
    if (const RomError error = checkSameFile(info); error != RomError::None)
        return error;
    // The change time moves with every write and cannot be set back by the
    // writer, which the modification time can.
    changed = info.modified != m_modified || info.changed != m_changed;
    remember(info);
    return RomError::None;
}

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

RomError RomFile::readTable(ShopTable &table)
{
    if (const RomError error = checkUsable(); error != RomError::None)
        return error;
    std::array<std::uint8_t, kShopCount * kShopRecordSize> bytes{};
    if (const RomError error = readAt(shopFileOffset(m_layout, 0), bytes.data(), bytes.size()); error != RomError::None)
        return error;
    for (int index = 0; index < kShopCount; ++index) {
        ShopRecord::Bytes record{};
        std::copy_n(bytes.begin() + index * std::ptrdiff_t(kShopRecordSize), kShopRecordSize, record.begin());
        table[std::size_t(index)] = ShopRecord::fromBytes(record);
    }
    return RomError::None;
}

RomError RomFile::writeShop(int index, const ShopRecord &record)
{
    if (const RomError error = checkUsable(index); error != RomError::None)
        return error;
    ShopRecord::Bytes old{};
    return writeInPlace(shopFileOffset(m_layout, index), old, record.toBytes());
}

RomError RomFile::readCartridge(CartridgeBytes &cartridge)
{
    if (const RomError error = checkUsable(); error != RomError::None)
        return error;
    const std::uint64_t start = fileOffset(m_layout, 0);
    const std::uint64_t size = std::uint64_t(m_opened.size) - start;
    if (size > kMaxCartridgeSize)
        return RomError::TooLargeToRead;
    CartridgeBytes bytes(static_cast<std::size_t>(size));
    if (const RomError error = readAt(start, bytes.data(), bytes.size()); error != RomError::None)
        return error;
    cartridge = std::move(bytes);
    return RomError::None;
}

RomError RomFile::writeChecksumFields(const CartridgeChecksum::Fields &fields)
{
    if (const RomError error = checkUsable(); error != RomError::None)
        return error;
    CartridgeChecksum::Fields old{};
    return writeInPlace(fileOffset(m_layout, kChecksumComplementOffset), old, fields);
}

// Reads the bytes about to be overwritten into old, so that a failed write
// can put them back, then writes bytes over them.
RomError RomFile::writeInPlace(std::uint64_t offset, std::span<std::uint8_t> old, std::span<const std::uint8_t> bytes)
{
    if (m_access != Access::ReadWrite)
        return RomError::NotOpen;
    if (const RomError error = readAt(offset, old.data(), old.size()); error != RomError::None)
        return error;
    FileStatus before;
    FileStatus after;
    const RomError error = PositionedWrite::write({*m_files, m_file, m_path, m_opened}, offset, bytes, old, before, after);
    // Another program's change made since the last look must still show at
    // the next one: the write's own times become the baseline only when the
    // file's times before it were the baseline.
    if (error == RomError::None && before.modified == m_modified && before.changed == m_changed)
        remember(after);
    return error;
}

RomError RomFile::checkUsable(int index) const
{
    if (index < 0 || index >= kShopCount)
        return RomError::BadShopIndex;
    return checkUsable();
}

RomError RomFile::checkUsable() const
{
    if (!isOpen())
        return RomError::NotOpen;
    FileStatus info;
    return checkSameFile(info);
}

RomError RomFile::checkSameFile(FileStatus &info) const
{
    if (m_files->stat(m_path, info) != 0)
        return RomError::FileChanged;
    return sameFile(info, m_opened) && info.size == m_opened.size ? RomError::None : RomError::FileChanged;
}

RomError RomFile::readAt(std::uint64_t offset, std::uint8_t *buffer, std::size_t count) const
{
    const std::size_t read = transfer(count, [&](std::size_t done) {
        return m_files->pread(m_file, buffer + done, count - done, std::int64_t(offset + done));
    });
    return read == count ? RomError::None : RomError::ReadFailed;
}

} // namespace rom
