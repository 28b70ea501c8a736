#include "DemoImage.h"

#include "CartridgeChecksum.h"
#include "DemoNames.h"
#include "NameTableLayout.h"
#include "OutputFile.h"
#include "ShopRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace demo {

namespace {

// Cartridge header fields after the name and map mode, at cartridge offsets.
constexpr std::uint64_t kCartridgeType = 0xFFD6; // 0x02: ROM with battery-backed RAM
constexpr std::uint64_t kRomSize = 0xFFD7;       // log2 of the size in kilobytes
constexpr std::uint64_t kRamSize = 0xFFD8;       // log2 of the battery-backed RAM in kilobytes
constexpr std::uint64_t kRegion = 0xFFD9;        // 0x01: North America
constexpr std::uint64_t kMakerCode = 0xFFDA;     // 0x33: the maker code lives in the extended header
constexpr std::uint64_t kRevision = 0xFFDB;

// Item code ranges of our catalogue, by the shop kind that sells them.
struct CodeRange {
    int first;
    int last;
};
constexpr CodeRange kWeapons{0x00, 0x5F};
constexpr CodeRange kArmour{0x60, 0xA7};
constexpr CodeRange kRelics{0xA8, 0xD7};
constexpr CodeRange kConsumables{0xD8, 0xFE};
// Codes with a name: all but FF, the empty slot.
constexpr int kNamedCodes = rom::NameTableLayout::kLastCode + 1;

class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed * 2654435761u + 1) {}
    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int in(int first, int last) { return first + int(next() % std::uint32_t(last - first + 1)); }

private:
    std::uint32_t m_state;
};

rom::ShopRecord makeShop(Random &random, bool unlabelledType)
{
    rom::ShopRecord shop;
    const int kind = random.in(0, 5);
    shop.type = std::uint8_t(random.in(0, 3) << 4 | kind);
    if (unlabelledType)
        shop.type = std::uint8_t(random.in(0x36, 0xFF));
    static constexpr CodeRange kSold[] = {kWeapons, kWeapons, kArmour, kConsumables, kRelics, {0x00, 0xFE}};
    const int stocked = kind == 0 ? 0 : random.in(3, rom::ShopRecord::kSlotCount);
    for (int slot = 0; slot < rom::ShopRecord::kSlotCount; ++slot)
        shop.items[slot] = slot < stocked ? std::uint8_t(random.in(kSold[kind].first, kSold[kind].last)) : 0xFF;
    return shop;
}

void putWord(std::uint8_t *at, std::uint16_t value)
{
    at[0] = std::uint8_t(value & 0xFF);
    at[1] = std::uint8_t(value >> 8);
}

} // namespace

std::vector<std::uint8_t> makeDemoImage(const DemoImageOptions &options)
{
    Random random(options.seed);
    // Whole kilobytes, and large enough to hold the shop table.
    const std::uint64_t size = (std::max(options.cartridgeSize, rom::kShopTableEnd) + 1023) / 1024 * 1024;
    const std::uint64_t headerSize = options.layout == rom::ImageLayout::Headered ? rom::kCopierHeaderSize : 0;
    std::vector<std::uint8_t> image(headerSize + size, 0);
    // The copier header gives the size in 8 KiB blocks; the rest stays zero.
    if (headerSize > 0)
        putWord(image.data(), std::uint16_t(size / 8192));

    std::uint8_t *const cartridge = image.data() + headerSize;
    for (std::uint64_t offset = 0; offset < size; ++offset)
        cartridge[offset] = std::uint8_t(random.next() >> 24);

    std::string name = options.name;
    name.resize(rom::kNameLength, ' ');
    std::memcpy(cartridge + rom::kNameOffset, name.data(), rom::kNameLength);
    cartridge[rom::kMapModeOffset] = options.mapMode;
    cartridge[kCartridgeType] = 0x02;
    int sizeLog2 = 0;
    while ((1024ull << sizeLog2) < size)
        ++sizeLog2;
    cartridge[kRomSize] = std::uint8_t(sizeLog2);
    cartridge[kRamSize] = 0x03;
    cartridge[kRegion] = 0x01;
    cartridge[kMakerCode] = 0x33;
    cartridge[kRevision] = 0x00;

    for (int index = 0; index < rom::kShopCount; ++index) {
        const auto bytes = makeShop(random, options.unlabelledTypes && index % 16 == 5).toBytes();
        std::memcpy(cartridge + rom::kShopTableOffset + index * rom::kShopRecordSize, bytes.data(), bytes.size());
    }

    std::vector<std::string> names;
    for (int code = 0; code < kNamedCodes; ++code)
        names.push_back(demoItemName(code));
    writeNameTable(std::span(cartridge, std::size_t(size)), NameTablePlace{}, NameEncoding{}, names);

    // The checksum as emulators compute it, the parts of a size that is not a
    // power of two mirrored.
    const rom::CartridgeChecksum checksum(std::span(cartridge, std::size_t(size)));
    const rom::CartridgeChecksum::Fields fields = checksum.fixedFields();
    std::copy(fields.begin(), fields.end(), cartridge + rom::kChecksumComplementOffset);
    return image;
}

std::string writeImageFile(const std::string &path, const std::vector<std::uint8_t> &bytes, bool overwrite)
{
    if (!overwrite && fileExists(path))
        return path + ": " + std::strerror(EEXIST);
    if (const rom::FileError error = rom::OutputFile::writeMadeImage(path, bytes); !error.ok())
        return path + ": " + error.message();
    return {};
}

std::string writeOutputFile(const std::string &path, const std::vector<std::uint8_t> &bytes, bool overwrite,
                            std::span<const rom::FilePath> images)
{
    if (!overwrite && fileExists(path))
        return path + ": " + std::strerror(EEXIST);
    if (const rom::FileError error = rom::OutputFile::write(path, bytes, images); !error.ok())
        return path + ": " + error.message();
    return {};
}

bool fileExists(const std::string &path)
{
    std::error_code unknown;
    return std::filesystem::exists(rom::FilePath(path).system(), unknown);
}

} // namespace demo
