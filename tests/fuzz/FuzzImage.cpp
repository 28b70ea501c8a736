#include "FuzzImage.h"

#include "DemoImage.h"
#include "EditorController.h"
#include "MemoryView.h"
#include "RomFile.h"

#include <QUndoStack>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>
#include <unistd.h>

namespace fuzz {

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_image: %s\n", what);
    std::abort();
}

// Reads the input front to back; past its end every byte is 0.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint8_t byte() { return m_at < m_bytes.size() ? m_bytes[m_at++] : 0; }
    std::uint32_t little(int count)
    {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 8 * count; shift += 8)
            value |= std::uint32_t(byte()) << shift;
        return value;
    }
    [[nodiscard]] bool done() const { return m_at >= m_bytes.size(); }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

// The shop table's place in a file of the given size, worked out here from
// the plain numbers rather than with the editor's own layout code, or
// nothing when the editor must refuse the file.
struct Table {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

std::optional<Table> expectedTable(const Bytes &image)
{
    const std::uint64_t header = image.size() % 1024 == 512 ? 512 : image.size() % 1024 == 0 ? 0 : 1;
    if (header == 1 || image.size() < header + 0x47AC0 + 128 * 9)
        return std::nullopt;
    const std::uint8_t mapMode = image[header + 0xFFD5];
    if (mapMode != 0x21 && mapMode != 0x31 && mapMode != 0x25 && mapMode != 0x35)
        return std::nullopt;
    return Table{header + 0x47AC0, header + 0x47AC0 + 128 * 9};
}

// The real system calls, with every write checked against the table before
// it is made. Flushing does nothing: durability is not what is fuzzed, and
// skipping it keeps thousands of runs a second.
class WatchedFiles : public rom::FileAccess {
public:
    std::optional<Table> table;

    std::ptrdiff_t pwrite(rom::FileHandle fd, const void *buffer, std::size_t count, std::int64_t offset) override
    {
        const auto at = std::uint64_t(offset);
        if (!table || at < table->start || at + count > table->end)
            fail("a write outside the shop table");
        if ((at - table->start) % 9 + count > 9)
            fail("a write across two shop records");
        return FileAccess::pwrite(fd, buffer, count, offset);
    }
    int fsync(rom::FileHandle) override { return 0; }
};

// Building a demonstration image costs more than running the input, and
// inputs share a few dozen of them.
const Bytes &demoImage(rom::ImageLayout layout, bool unlabelled, std::uint64_t size, std::uint32_t seed)
{
    static std::map<std::tuple<rom::ImageLayout, bool, std::uint64_t, std::uint32_t>, Bytes> made;
    const auto key = std::tuple(layout, unlabelled, size, seed);
    auto found = made.find(key);
    if (found == made.end()) {
        demo::DemoImageOptions options;
        options.layout = layout;
        options.unlabelledTypes = unlabelled;
        options.cartridgeSize = size;
        options.seed = seed;
        found = made.emplace(key, demo::makeDemoImage(options)).first;
    }
    return found->second;
}

Bytes buildImage(Reader &in)
{
    static constexpr std::array<std::uint64_t, 5> kCartridgeSizes = {0x48000, 0x60000, 0x80000, 0x100000, 0x200000};
    const std::uint8_t flags = in.byte();
    const auto layout = flags & 1 ? rom::ImageLayout::Headerless : rom::ImageLayout::Headered;
    const std::uint64_t size = kCartridgeSizes[in.byte() % kCartridgeSizes.size()];
    const std::uint8_t mapMode = in.byte();
    const auto sizeChange = std::int16_t(in.little(2));
    const std::uint32_t seed = in.byte() % 2;
    Bytes image = demoImage(layout, flags & 2, size, seed);
    image[rom::fileOffset(layout, rom::kMapModeOffset)] = mapMode;

    const int patches = in.byte() % 16;
    for (int patch = 0; patch < patches; ++patch) {
        const std::uint8_t target = in.byte();
        std::uint64_t at = 0;
        std::uint64_t span = image.size();
        if (target == 0) {
            at = rom::fileOffset(layout, 0xFFB0);
            span = 0x50;
        } else if (target == 1) {
            at = rom::shopFileOffset(layout, 0);
            span = 128 * 9;
        }
        at += (target < 2 ? in.little(2) : in.little(3)) % span;
        const int length = in.byte() % 64;
        for (int i = 0; i < length && at + std::uint64_t(i) < image.size(); ++i)
            image[at + std::uint64_t(i)] = in.byte();
    }
    if (flags & 4)
        image.resize(std::size_t(std::max<std::int64_t>(0, std::int64_t(image.size()) + sizeChange)));
    return image;
}

const std::string &imagePath()
{
    static const std::string path = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "shop-editor-fuzz-XXXXXX").string();
        if (!::mkdtemp(dir.data()))
            fail("cannot make a temporary folder");
        static const std::string folder = dir;
        std::atexit([] { std::filesystem::remove_all(folder); });
        return dir + "/image.smc";
    }();
    return path;
}

void writeWhole(const std::string &path, const Bytes &bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::close(fd) != 0)
        fail("cannot write the image file");
}

Bytes readWhole(const std::string &path)
{
    Bytes bytes(std::filesystem::file_size(path));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::pread(fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()) || ::close(fd) != 0)
        fail("cannot read the image file back");
    return bytes;
}

// Reads shops through a handle of its own (read-only: the editor holds the
// lock), at indexes in and out of range, and writes one as another program
// that takes no lock would.
void touchDirectly(Reader &in, rom::RomFile &direct, rom::FileAccess &files, const std::string &path)
{
    if (!direct.isOpen() && direct.open(path, rom::Access::ReadOnly) != rom::RomError::None)
        return;
    std::string name;
    if (direct.readName(name) == rom::RomError::None && name.size() != rom::kNameLength)
        fail("a name of the wrong length");
    const int index = std::int8_t(in.byte()) * 2;
    rom::ShopRecord::Bytes bytes{};
    for (auto &byte : bytes)
        byte = in.byte();
    const auto record = rom::ShopRecord::fromBytes(bytes);
    const bool inRange = index >= 0 && index < rom::kShopCount;
    if ((direct.writeShop(index, record) == rom::RomError::BadShopIndex) == inRange)
        fail("a shop index checked wrongly");
    if (!inRange)
        return;
    const rom::FileHandle fd = files.open(path, rom::OpenMode::ReadWrite);
    if (fd == rom::kNoFile ||
        files.pwrite(fd, bytes.data(), bytes.size(), std::int64_t(rom::shopFileOffset(direct.layout(), index))) != 9)
        fail("cannot write a shop as another program");
    files.close(fd);
    rom::ShopRecord back;
    if (direct.readShop(index, back) == rom::RomError::None && back.toBytes() != bytes)
        fail("a shop read back differs from the one written");
}

} // namespace

void runInput(std::span<const std::uint8_t> input)
{
    // The editor's timers need an application object, though no event loop runs.
    static int argc = 1;
    static char name[] = "fuzz_image";
    static char *argv[] = {name, nullptr};
    static const QCoreApplication application(argc, argv);
    Reader in(input);
    const Bytes image = buildImage(in);
    const std::string &path = imagePath();
    writeWhole(path, image);

    WatchedFiles files;
    files.table = expectedTable(image);
    {
        MemoryView view;
        MemoryOpenDialog dialog;
        EditorController controller(view, view, dialog, files);
        view.attach(controller);
        rom::RomFile direct(files);
        for (int action = 0; action < 64 && !in.done(); ++action) {
            // The high bits answer the questions the action may bring.
            const std::uint8_t code = in.byte();
            view.conflictAnswers = {EditorPrompts::Conflict((code >> 4) % 3)};
            view.unsavedAnswers = {EditorPrompts::Unsaved((code >> 6) % 3)};
            switch (code % 11) {
            case 0: dialog.queue(QString::fromStdString(path)); controller.open(); break;
            case 1: dialog.queue(std::nullopt); controller.open(); break;
            case 2: view.setScrollValue(in.byte() % 128); break;
            case 3: {
                const int value = in.byte() % 128;
                view.dragTo(value, in.byte() % 5);
                break;
            }
            case 4:
                if (view.editingEnabled() && !view.typeEntries().isEmpty())
                    view.pick(0, in.byte() % int(view.typeEntries().size()));
                break;
            case 5:
                if (view.editingEnabled()) {
                    const int slot = 1 + in.byte() % 8;
                    view.pick(slot, in.byte());
                }
                break;
            case 6: in.byte() % 2 ? controller.save() : controller.save(); break;
            case 7: touchDirectly(in, direct, files, path); break;
            case 8: controller.undoStack()->undo(); break;
            case 9: controller.undoStack()->redo(); break;
            default: in.byte() % 2 ? controller.windowActivated() : controller.copyShop(); break;
            }
            if (view.editingEnabled() && !files.table)
                fail("a file that must be refused was opened");
            if (!view.misuses().isEmpty())
                fail(qPrintable(view.misuses().first()));
            bool number = false;
            const int shown = view.shopIndexText().toInt(&number);
            if (!number || shown < 0 || shown >= rom::kShopCount)
                fail("a shop index out of range on screen");
        }
        view.unsavedAnswers = {EditorPrompts::Unsaved::Discard};
        controller.quit();
        if (!view.ended())
            fail("quitting did not end");
    }

    const Bytes after = readWhole(path);
    if (after.size() != image.size())
        fail("the file's size changed");
    const std::uint64_t start = files.table ? files.table->start : after.size();
    const std::uint64_t end = files.table ? files.table->end : after.size();
    if (!std::equal(after.begin(), after.begin() + std::ptrdiff_t(start), image.begin())
        || !std::equal(after.begin() + std::ptrdiff_t(end), after.end(), image.begin() + std::ptrdiff_t(end)))
        fail("a byte outside the shop table changed");
}

std::vector<Bytes> seedInputs()
{
    // Open, move, pick, save, drag, cancel, undo, redo, About; shops read
    // directly at index 6, -2 and 254, and shop 6 changed behind a pick of
    // the editor's, then saved with the answer Overwrite (0x06), then the
    // same again answered Take the File's (0x16) and Cancel (0x26).
    const Bytes actions = {0, 2, 5, 5, 3, 0x2A, 6, 1, 4, 7, 3, 40, 3, 1, 8, 9, 2, 127, 6, 0, 7, 0xFF,
                           0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0x7F, 2, 6, 5, 0, 0x11, 7, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                           0x06, 1, 5, 0, 0x12, 7, 3, 9, 8, 7, 6, 5, 4, 3, 2, 0x16, 1, 5, 0, 0x13, 7, 3, 1, 1, 1,
                           1, 1, 1, 1, 1, 1, 0x26, 1, 10, 1, 8, 8, 10, 0};
    auto input = [&](std::uint8_t flags, std::uint8_t size, std::uint8_t mapMode, std::int16_t change, Bytes patches) {
        if (patches.empty())
            patches.push_back(0);
        Bytes bytes = {flags, size, mapMode, std::uint8_t(change & 0xFF), std::uint8_t((change >> 8) & 0xFF), 0};
        bytes.reserve(bytes.size() + patches.size() + actions.size());
        bytes.insert(bytes.end(), patches.begin(), patches.end());
        bytes.insert(bytes.end(), actions.begin(), actions.end());
        return bytes;
    };
    return {
        input(0, 1, 0x31, 0, {}),                 // headered, 384 KiB
        input(1, 0, 0x21, 0, {}),                 // headerless, only just holds the table
        input(2, 2, 0x31, 0, {}),                 // unlabelled type codes
        input(1, 4, 0x35, 0, {}),                 // ExHiROM, 2 MiB
        input(0, 1, 0x20, 0, {}),                 // LoROM: refused
        input(4, 1, 0x31, -1, {}),                // odd size: refused
        input(5, 0, 0x31, -1024, {}),             // the table cut off: refused
        input(4, 1, 0x31, 1024, {}),              // a kilobyte more: headered still
        input(0, 3, 0x31, 0, {1, 1, 0, 0, 12, 0xFF, 0x36, 0x80, 0, 0, 0, 0, 0, 0, 0x35, 0xFF, 0xFE}), // odd codes
    };
}

} // namespace fuzz
