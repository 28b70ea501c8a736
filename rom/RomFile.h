#pragma once

#include "FileAccess.h"
#include "ImageLayout.h"
#include "RomError.h"
#include "ShopRecord.h"

#include <cstdint>
#include <string>

namespace rom {

// The one open image file. open() checks the file before it keeps it: a
// regular, writable file whose size places a HiROM cartridge header and the
// whole shop table inside it. Reads and writes then touch only the internal
// name and the shop table, never extend the file, and are refused once the
// file at the path is no longer the one that was opened.
class RomFile {
public:
    explicit RomFile(FileAccess &files = FileAccess::system());
    ~RomFile();
    RomFile(RomFile &&other) noexcept;
    RomFile &operator=(RomFile &&other) noexcept;
    RomFile(const RomFile &) = delete;
    RomFile &operator=(const RomFile &) = delete;

    // Checks and opens an existing image for reading and writing. Closes
    // nothing already open until the new file has passed every check.
    [[nodiscard]] RomError open(const std::string &path);
    // Flushes every write to the disk and closes the file. Nothing open: no-op.
    RomError close();

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] ImageLayout layout() const { return m_layout; }
    [[nodiscard]] const std::string &path() const { return m_path; }

    // The 21 bytes of the internal name, as they are (trailing blanks kept).
    [[nodiscard]] RomError readName(std::string &name);
    [[nodiscard]] RomError readShop(int index, ShopRecord &record);
    [[nodiscard]] RomError writeShop(int index, const ShopRecord &record);

private:
    [[nodiscard]] RomError checkUsable() const;
    [[nodiscard]] RomError checkUsable(int index) const;
    [[nodiscard]] RomError checkSameFile() const;
    [[nodiscard]] RomError readAt(std::uint64_t offset, std::uint8_t *buffer, std::size_t count) const;
    [[nodiscard]] RomError writeAt(std::uint64_t offset, const std::uint8_t *buffer, std::size_t count) const;
    [[nodiscard]] RomError checkImage(const struct stat &info);
    [[nodiscard]] RomError openChecked(const std::string &path, int &fd, struct stat &info);
    void release();

    FileAccess *m_files;
    int m_fd = -1;
    std::string m_path;
    ImageLayout m_layout = ImageLayout::Headered;
    // Identity and size of the file when it was opened.
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_size = 0;
};

} // namespace rom
