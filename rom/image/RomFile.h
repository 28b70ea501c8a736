#pragma once

#include "CartridgeBytes.h"
#include "CartridgeChecksum.h"
#include "FileAccess.h"
#include "ImageLayout.h"
#include "RomError.h"
#include "ShopRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace rom {

// How an image is opened: for editing, or only to be read.
enum class Access {
    ReadWrite, // writable, and locked against other editors of the same file
    ReadOnly,  // read-only files too; no lock, so the file may be open in an editor
};

// One open image file. open() checks the file before it keeps it: a regular
// file whose size places a HiROM cartridge header and the whole shop table
// inside it. Reads and writes then touch only the internal name and the shop
// table, never extend the file, and are refused once the file at the path is
// no longer the one that was opened.
class RomFile {
public:
    explicit RomFile(FileAccess &files = FileAccess::system());
    ~RomFile();
    RomFile(RomFile &&other) noexcept;
    RomFile &operator=(RomFile &&other) noexcept;
    RomFile(const RomFile &) = delete;
    RomFile &operator=(const RomFile &) = delete;

    // Checks and opens an existing image, closing the one open here first.
    // For ReadWrite the file takes a lock (FileAccess::flock) that another
    // program's lock refuses; when `sharing` has the same file open, the lock
    // is shared with it, so that a program can open its own image again.
    [[nodiscard]] RomError open(const FilePath &path, Access access = Access::ReadWrite,
                                const RomFile *sharing = nullptr);
    // Flushes every write to the disk and closes the file. Nothing open: no-op.
    RomError close();
    // Returns once every write so far is on the disk.
    RomError sync();

    [[nodiscard]] bool isOpen() const { return m_file != kNoFile; }
    [[nodiscard]] ImageLayout layout() const { return m_layout; }
    // The path's text (FilePath::text), for messages.
    [[nodiscard]] std::string path() const { return m_path.text(); }
    // Whether the path still names the file opened, at its size: false once
    // another program deleted, replaced or resized it.
    [[nodiscard]] bool isStillAtPath() const { return checkUsable() == RomError::None; }

    // FileChanged when the file at the path is no longer the one opened.
    // Otherwise `changed` tells whether another program has written to it
    // since the open or the last call (a write through this object does not
    // count, but one by another program before it still does).
    [[nodiscard]] RomError checkForChanges(bool &changed);

    // The 21 bytes of the internal name, as they are (trailing blanks kept).
    [[nodiscard]] RomError readName(std::string &name);
    [[nodiscard]] RomError readShop(int index, ShopRecord &record);
    // The whole table in one read.
    [[nodiscard]] RomError readTable(ShopTable &table);
    // One positioned write of the record. A failed write leaves the
    // record's old bytes in place (WritePartial if they could not all be put
    // back).
    [[nodiscard]] RomError writeShop(int index, const ShopRecord &record);

    // The cartridge contents, copier header excluded, in one positioned read.
    // Untouched on error.
    [[nodiscard]] RomError readCartridge(CartridgeBytes &cartridge);
    // Writes the checksum's complement and the checksum (the four bytes at
    // kChecksumComplementOffset) and nothing else, with writeShop's care.
    [[nodiscard]] RomError writeChecksumFields(const CartridgeChecksum::Fields &fields);

private:
    [[nodiscard]] RomError checkUsable() const;
    [[nodiscard]] RomError checkUsable(int index) const;
    [[nodiscard]] RomError checkSameFile(FileStatus &info) const;
    [[nodiscard]] RomError readAt(std::uint64_t offset, std::uint8_t *buffer, std::size_t count) const;
    [[nodiscard]] RomError writeInPlace(std::uint64_t offset, std::span<std::uint8_t> old,
                                        std::span<const std::uint8_t> bytes);
    [[nodiscard]] RomError checkImage(const FileStatus &info);
    [[nodiscard]] RomError openChecked(const FilePath &path, Access access, const RomFile *sharing,
                                       FileStatus &info);
    [[nodiscard]] RomError lock();
    void remember(const FileStatus &info);

    FileAccess *m_files;
    FileHandle m_file = kNoFile;
    FilePath m_path;
    Access m_access = Access::ReadWrite;
    ImageLayout m_layout = ImageLayout::Headered;
    // The file as it was when opened, whose identity and size every later
    // call checks, and the times of its last change as last seen.
    FileStatus m_opened;
    FileTime m_modified;
    FileTime m_changed;
};

} // namespace rom
