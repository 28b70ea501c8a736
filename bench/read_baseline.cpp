// The least a program linked to Qt Core does to read the shop table: the
// baseline that `shop-table export` is timed against. Starts a
// QCoreApplication, opens the image named, reads the 1152 bytes of the table
// in one pread, and prints nothing.
#include "ImageLayout.h"

#include <QCoreApplication>

#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return 1;
    const auto layout = rom::layoutForFileSize(std::uint64_t(info.st_size)).value_or(rom::ImageLayout::Headered);
    std::array<char, rom::kShopCount * rom::kShopRecordSize> table{};
    const ssize_t read = ::pread(fd, table.data(), table.size(), off_t(rom::shopFileOffset(layout, 0)));
    ::close(fd);
    return read == ssize_t(table.size()) ? 0 : 1;
}
